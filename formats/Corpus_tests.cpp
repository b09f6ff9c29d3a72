// The PES reader on real-world files written by other programs (MES_CORPUS_DIR, described by
// its MANIFEST.tsv). Counts in the manifest come from other readers, which treat long movements
// and the end of the stream in their own ways, so stitch counts may differ by a stitch or two.

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "formats/PES.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

const fs::path kCorpus = MES_CORPUS_DIR;

Bytes readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// One row of the manifest, by column name.
using Row = std::map<std::string, std::string>;

std::vector<Row> readManifest() {
    std::ifstream in(kCorpus / "MANIFEST.tsv");
    std::vector<Row> rows;
    std::string line;
    std::vector<std::string> header;
    auto split = [](const std::string& s) {
        std::vector<std::string> out;
        std::stringstream ss(s);
        std::string cell;
        while (std::getline(ss, cell, '\t'))
            out.push_back(cell);
        return out;
    };
    while (std::getline(in, line)) {
        if (line.empty())
            continue;
        auto cells = split(line);
        if (header.empty()) {
            header = cells;
            continue;
        }
        Row row;
        for (std::size_t i = 0; i < header.size() && i < cells.size(); ++i)
            row[header[i]] = cells[i];
        rows.push_back(row);
    }
    return rows;
}

// "a,b,c,d" -> four ints.
std::vector<int> parseBounds(const std::string& s) {
    std::vector<int> v;
    std::stringstream ss(s);
    std::string cell;
    while (std::getline(ss, cell, ','))
        v.push_back(std::atoi(cell.c_str()));
    return v;
}

// Visible stitches as the layer keeps them: stitch records of type normal, without the record
// in front of the end marker.
int countNormalStitches(const Bytes& d) {
    int count = 0;
    bool lastWasNormal = false;
    std::size_t pos = 0;
    while (pos < d.size()) {
        const pec::Record r = pec::readRecord(d.data(), d.size(), pos);
        if (r.kind == pec::RecordKind::Truncated)
            break;
        if (r.kind == pec::RecordKind::End) {
            if (lastWasNormal)
                --count;
            break;
        }
        lastWasNormal = r.kind == pec::RecordKind::Stitch && pec::recordType(r) == pec::kNormal;
        if (lastWasNormal)
            ++count;
        pos = r.next;
    }
    return count;
}

TEST(Corpus, ManifestListsTheFiles) {
    const auto rows = readManifest();
    ASSERT_GE(rows.size(), 15u) << "corpus not found at " << kCorpus;
    for (const auto& row : rows) {
        EXPECT_TRUE(fs::is_regular_file(kCorpus / row.at("file"))) << row.at("file");
    }
}

TEST(Corpus, EveryFileReadsWithSensibleCounts) {
    for (const auto& row : readManifest()) {
        const std::string name = row.at("file");
        SCOPED_TRACE(name);
        const Bytes bytes = readFile(kCorpus / name);
        ASSERT_EQ(bytes.size(), std::size_t(std::atoi(row.at("size").c_str())));
        FormatLog log;
        PES p;
        const bool ok = p.loadFileContents(bytes, &log);
        const int expectedColours = std::atoi(row.at("indep_colours").c_str());
        const int expectedStitches = std::atoi(row.at("indep_stitches").c_str());

        EXPECT_TRUE(p.headerOk());
        EXPECT_EQ(p.version(), std::atoi(row.at("pes_version").c_str()));
        if (expectedStitches == 0) {
            // Empty designs: the stitch section is too short to hold any record.
            EXPECT_FALSE(ok);
            EXPECT_EQ(expectedColours, 0);
            continue;
        }
        ASSERT_TRUE(ok);
        EXPECT_FALSE(log.hasError());
        EXPECT_EQ(p.colorCount(), expectedColours);
        const int stitches = countNormalStitches(p.stitchData());
        EXPECT_NEAR(stitches, std::atoi(row.at("pyemb_stitches").c_str()), 2);

        // The manifest's bounds are in the other reader's frame: compare the size.
        const std::vector<int> b = parseBounds(row.at("pyemb_bounds"));
        ASSERT_EQ(b.size(), 4u);
        EXPECT_NEAR(p.bounds().maxX - p.bounds().minX, float(b[2] - b[0]), 2.0f);
        EXPECT_NEAR(p.bounds().maxY - p.bounds().minY, float(b[3] - b[1]), 2.0f);
        // Every design ends with a long/long move after loading.
        const Bytes& d = p.stitchData();
        ASSERT_GE(d.size(), 6u);
        EXPECT_TRUE(pec::isLong(d[d.size() - 6]) && pec::isLong(d[d.size() - 4]));
    }
}

TEST(Corpus, EveryPrefixOfEveryFileLoadsSafely) {
    // Cutting a file anywhere must never read past the cut.
    for (const auto& entry : fs::directory_iterator(kCorpus)) {
        const Bytes bytes = readFile(entry.path());
        for (std::size_t n = 0; n <= bytes.size(); n += 1 + n / 16) {
            PES p;
            p.loadFileContents(Bytes(bytes.begin(), bytes.begin() + n));
        }
    }
}

}  // namespace
