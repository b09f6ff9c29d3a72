// "mes-cli send" end to end: the command-line program against the simulator on loopback.

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "tools/stick-sim/StickServer.h"

namespace fs = std::filesystem;

namespace {

struct CliRun {
    int status = -1;
    std::string output;
};

// Runs mes-cli with the arguments; standard output and error together.
CliRun cli(const std::string& arguments) {
    fs::path out = fs::temp_directory_path() / ("mes-cli-out-" + std::to_string(::getpid()));
    std::string command =
        std::string("'") + MES_CLI + "' " + arguments + " > '" + out.string() + "' 2>&1";
    CliRun run;
    int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(out);
    run.output.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    fs::remove(out);
    return run;
}

struct Sim {
    fs::path store;
    std::unique_ptr<sticksim::StickServer> server;
    explicit Sim(sticksim::Options options = {}) {
        store = fs::temp_directory_path() / ("stick-sim-cli-" + std::to_string(::getpid()));
        fs::remove_all(store);
        options.storeDir = store.string();
        server = std::make_unique<sticksim::StickServer>(options, nullptr);
        EXPECT_TRUE(server->start("127.0.0.1", 0));
    }
    ~Sim() {
        server->stop();
        fs::remove_all(store);
    }
    std::string endpoint() const { return "127.0.0.1:" + std::to_string(server->port()); }
};

const std::string kDesign = std::string(MES_CORPUS_DIR) + "/embcat__Bean.pes";

}  // namespace

TEST(MesCliSend, SendsAVersion5File) {
    Sim sim;
    CliRun run = cli("send '" + kDesign + "' --stick " + sim.endpoint());
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("Sent "), std::string::npos) << run.output;
    EXPECT_EQ(sim.server->requests("/sdcard/mount"), 1);
    EXPECT_EQ(sim.server->requests("/u.php"), 1);
    EXPECT_EQ(sim.server->requests("/sdcard/unmount"), 1);
    EXPECT_FALSE(sim.server->mounted());
    EXPECT_TRUE(sim.server->lastStoredIsPes());
    std::ifstream in(sim.store / "mivo_emb.pes", std::ios::binary);
    std::string head(8, '\0');
    in.read(&head[0], 8);
    EXPECT_EQ(head, "#PES0050");
}

TEST(MesCliSend, ReportsFailuresInWords) {
    {
        sticksim::Options options;
        options.wrong = true;
        Sim sim(options);
        CliRun run = cli("send '" + kDesign + "' --stick " + sim.endpoint());
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("did not mount"), std::string::npos) << run.output;
    }
    {
        sticksim::Options options;
        options.refuse = true;
        Sim sim(options);
        CliRun run = cli("send '" + kDesign + "' --stick " + sim.endpoint());
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.output.find("connect(): Connection refused"), std::string::npos)
            << run.output;
    }
    CliRun notPes = cli("send '" + std::string(MES_CLI) + "' --stick 127.0.0.1:9");
    EXPECT_EQ(notPes.status, 1);
    EXPECT_NE(notPes.output.find("is not a PES file"), std::string::npos) << notPes.output;
    EXPECT_EQ(cli("send").status, 2);
}
