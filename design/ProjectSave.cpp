// Writing a project file to disk: the bytes go to a temporary file beside the target, which
// replaces the target only once it is complete.

#include <cstdio>
#include <fstream>

#include "design/Document.h"
#include "design/ProjectFile.h"

bool saveProject(Document& doc, const std::string& path, int hoopW, int hoopH,
                 std::string* written) {
    const std::vector<uint8_t> bytes = projectBytes(doc, hoopW, hoopH);
    if (bytes.empty())
        return false;
    const std::string target = projectPath(path);
    const std::string part = target + ".part";
    {
        std::ofstream out(part, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(bytes.data()),
                      static_cast<std::streamsize>(bytes.size()));
            out.close();
        }
        if (!out) {
            std::remove(part.c_str());
            doc.log(3, "saveProject", "cannot write " + target);
            return false;
        }
    }
    if (std::rename(part.c_str(), target.c_str()) != 0) {
        std::remove(part.c_str());
        doc.log(3, "saveProject", "cannot replace " + target);
        return false;
    }
    if (written)
        *written = target;
    return true;
}
