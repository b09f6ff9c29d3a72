// Sections: constants and helpers; writing; parsing; loading into the document.

#include "design/ProjectFile.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "design/Document.h"
#include "design/PESExport.h"
#include "design/commands/EditShapeCommand.h"
#include "design/commands/TextEffectCommand.h"
#include "formats/PES.h"

const char* const kDefaultGreetingText =
    "\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1\xE0\xB8\xAA\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB8\x84\xE0"
    "\xB9\x88\xE0\xB8\xB0 \xE0\xB8\xA2\xE0\xB8\xB4\xE0\xB8\x99\xE0\xB8\x94\xE0\xB8\xB5\xE0\xB8"
    "\x95\xE0\xB9\x89\xE0\xB8\xAD\xE0\xB8\x99\xE0\xB8\xA3\xE0\xB8\xB1\xE0\xB8\x9A";

namespace {

// More layers than this in one file is damage, not a design; it would only eat memory.
constexpr int kMaxProjectLayers = 4096;
// A layer centre further out than this (1.6 km) is damage too; moving stitches there could
// overflow their coordinates.
constexpr int32_t kMaxCentre = 1 << 24;

const char kPesDataLine[] = "[PESDATA]";

std::string format(const char* fmt, ...) __attribute__((format(printf, 1, 2)));
std::string format(const char* fmt, ...) {
    char text[256];
    va_list args;
    va_start(args, fmt);
    std::vsnprintf(text, sizeof text, fmt, args);
    va_end(args);
    return text;
}

// The decimal number at the start of a value; no number gives 0.
int32_t readInt(const std::string& v) {
    errno = 0;
    char* end = nullptr;
    long long n = std::strtoll(v.c_str(), &end, 10);
    if (end == v.c_str())
        return 0;
    n = std::clamp<long long>(n, std::numeric_limits<int32_t>::min(),
                              std::numeric_limits<int32_t>::max());
    return static_cast<int32_t>(n);
}

float readFloat(const std::string& v) {
    char* end = nullptr;
    double d = std::strtod(v.c_str(), &end);
    if (end == v.c_str() || !std::isfinite(d))
        return 0.0f;
    d = std::clamp(d, -1e30, 1e30);
    return static_cast<float>(d);
}

std::vector<std::string> splitFields(const std::string& line) {
    std::vector<std::string> f;
    std::size_t start = 0;
    for (;;) {
        const std::size_t eq = line.find('=', start);
        if (eq == std::string::npos) {
            f.push_back(line.substr(start));
            return f;
        }
        f.push_back(line.substr(start, eq - start));
        start = eq + 1;
    }
}

// A text kept on one line: a line break inside it would start a line of its own in the file.
std::string oneLine(std::string text) {
    std::replace(text.begin(), text.end(), '\n', ' ');
    std::replace(text.begin(), text.end(), '\r', ' ');
    return text;
}

}  // namespace

// ---- Writing ----------------------------------------------------------------------------------

std::string projectPath(const std::string& path) {
    std::string tail = path.size() >= 5 ? path.substr(path.size() - 5) : path;
    std::transform(tail.begin(), tail.end(), tail.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return tail == ".mpes" ? path : path + ".mpes";
}

std::vector<uint8_t> projectBytes(Document& doc, int hoopW, int hoopH) {
    std::vector<uint8_t> out;
    if (doc.layers.empty())
        return out;
    doc.checkLayerCount();

    const int n = std::min(doc.layerCount(), doc.host.cellCount());
    std::vector<std::vector<uint8_t>> pes(doc.layers.size());
    for (int i = 0; i < n; ++i) {
        if (doc.layers[i].properties.type == kLayerPES)
            pes[i] = writePES1(doc.layers[i], hoopW, hoopH);
    }

    std::string t;
    t += "#MPES\n";
    t += "Appname=MES - Mivo Embroidery System\n";
    t += "Codename=0230_MivoEMB\n";
    t += format("Version=%s\n", "1.00");
    t += format("numLayer=%i\n\n", doc.layerCount());
    for (int i = 0; i < doc.layerCount(); ++i) {
        const PESData& l = doc.layers[i];
        const LayerProperties& p = l.properties;
        const bool isPES = p.type == kLayerPES;
        t += format("LayerId=%i\n", i);
        t += format("type=%i\n", p.type);
        t += "text=" + oneLine(p.text) + "\n";
        t += format("fontIndex=%i\n", p.fontIndex);
        t += format("fontSizeIndex=%i\n", p.fontSizeIndex);
        t += format("colorIndex=%i\n", p.colorIndex);
        t += format("baselineIndex=%i\n", isPES ? 0 : p.baselineIndex);
        t += format("radiusValue=%.2f\n", p.radiusValue);
        t += format("angleValue=%.2f\n", p.angleValue);
        t += format("extraLetterSpace=%i\n", p.extraLetterSpace);
        t += format("extraSpace=%i\n", p.extraSpace);
        t += format("centerx=%i\n", l.centerX);
        t += format("centery=%i\n", l.centerY);
        if (isPES) {
            t += format("rotateValue=%.2f\n", 0.5);
            t += format("numColorChange=%i\n", l.numColorChange);
            t += format("byteLength=%i\n", static_cast<int>(pes[i].size()));
        }
        t += format("rotateValue=%.2f\n", p.rotateValue);
        if (p.type == kLayerShape) {
            t += format("shapeIndex=%i\n", p.shapeIndex);
            t += format("width=%.1f\n", p.width);
            t += format("height=%.1f\n", p.height);
            t += format("lineWidth=%.1f\n", p.lineWidth);
            t += format("density=%.1f\n", p.density);
        }
        t += "\n";
    }
    t += kPesDataLine;
    t += "\n";
    out.assign(t.begin(), t.end());
    for (const auto& b : pes)
        out.insert(out.end(), b.begin(), b.end());
    return out;
}

// ---- Parsing ----------------------------------------------------------------------------------

bool parseProject(const uint8_t* bytes, std::size_t size, std::vector<PESData>& layers,
                  FormatLog* log) {
    layers.clear();
    if (!bytes || size == 0)
        return false;
    int numLayer = 0;
    int id = -1;
    bool hasBinary = false;
    std::size_t binaryFrom = size;  // first byte behind the "[PESDATA]" line
    bool sawPesData = false;

    std::size_t pos = 0;
    while (pos < size && !sawPesData) {
        std::size_t end = pos;
        while (end < size && bytes[end] != '\n' && bytes[end] != '\r')
            ++end;
        std::size_t next = end;
        if (next < size) {
            if (bytes[next] == '\r' && next + 1 < size && bytes[next + 1] == '\n')
                next += 2;
            else
                next += 1;
        }
        std::size_t lineEnd = end;
        if (lineEnd == size && lineEnd > pos && bytes[lineEnd - 1] == 0)
            --lineEnd;  // a zero byte closing the file is not text
        const std::string line(reinterpret_cast<const char*>(bytes) + pos, lineEnd - pos);
        pos = next;
        if (line.empty())
            continue;
        if (line == kPesDataLine) {
            sawPesData = true;
            binaryFrom = pos;
            break;
        }
        const std::vector<std::string> f = splitFields(line);
        if (f.size() < 2)
            continue;
        const std::string& key = f[0];
        const std::string& v = f[1];
        if (key == "numLayer") {
            numLayer = std::clamp(readInt(v), 0, kMaxProjectLayers);
            if (layers.size() < static_cast<std::size_t>(numLayer))
                layers.resize(numLayer);
            continue;
        }
        if (key == "LayerId") {
            id = readInt(v);
            continue;
        }
        if (id < 0 || id >= numLayer || static_cast<std::size_t>(id) >= layers.size())
            continue;
        PESData& l = layers[id];
        LayerProperties& p = l.properties;
        if (key == "type") {
            p.type = readInt(v);
        } else if (key == "text") {
            if (p.type == kLayerPES) {
                p.text = kDefaultGreetingText;
                hasBinary = true;
            } else {
                p.text = v;
            }
        } else if (key == "fontIndex") {
            p.fontIndex = readInt(v);
        } else if (key == "fontSizeIndex") {
            p.fontSizeIndex = readInt(v);
        } else if (key == "colorIndex") {
            p.colorIndex = readInt(v);
        } else if (key == "baselineIndex") {
            p.baselineIndex = readInt(v);
        } else if (key == "radiusValue") {
            p.radiusValue = readFloat(v);
        } else if (key == "angleValue") {
            p.angleValue = readFloat(v);
        } else if (key == "rotateValue") {
            p.rotateValue = readFloat(v);
        } else if (key == "centerx") {
            l.centerX = std::clamp(readInt(v), -kMaxCentre, kMaxCentre);
        } else if (key == "centery") {
            l.centerY = std::clamp(readInt(v), -kMaxCentre, kMaxCentre);
        } else if (key == "numColorChange") {
            l.numColorChange = readInt(v);
        } else if (key == "byteLength") {
            l.byteLength = readInt(v);
        } else if (key == "shapeIndex") {
            p.shapeIndex = readInt(v);
            if (p.shapeIndex == 3)
                p.shapeIndex = 8;
        } else if (key == "width") {
            p.width = readFloat(v);
        } else if (key == "height") {
            p.height = readFloat(v);
        } else if (key == "lineWidth") {
            p.lineWidth = readFloat(v);
        } else if (key == "density") {
            p.density = readFloat(v);
        } else if (key == "extraLetterSpace") {
            p.extraLetterSpace = readInt(v);
        } else if (key == "extraSpace") {
            p.extraSpace = readInt(v);
        }
    }

    for (PESData& l : layers) {
        if (l.properties.type == kLayerPES)
            l.properties.typeName = "PES Stitch";
        else if (l.properties.type == kLayerShape)
            l.properties.typeName = "Shape Stitch";
    }

    if (!hasBinary)
        return true;
    // The binary part begins at the first "#" behind the "[PESDATA]" line; without that line or
    // that "#" there is nothing to read and the PES layers stay without stitches.
    std::size_t at = size;
    if (sawPesData) {
        const uint8_t* hash = static_cast<const uint8_t*>(
            std::memchr(bytes + binaryFrom, '#', size - std::min(binaryFrom, size)));
        if (hash)
            at = static_cast<std::size_t>(hash - bytes);
    }
    for (std::size_t i = 0; i < layers.size(); ++i) {
        PESData& l = layers[i];
        if (l.properties.type != kLayerPES)
            continue;
        const std::size_t length = static_cast<std::size_t>(std::max(l.byteLength, 0));
        if (at < size && length <= size - at) {
            PES reader;
            if (reader.loadBuffer(0, bytes + at, length, log) && reader.hasSections()) {
                const int32_t cx = l.centerX, cy = l.centerY;
                if (l.createFromPES(&reader, log)) {
                    l.sourceBlocks = l.blocks;
                    // The embedded file is stored around its own centre: the layer goes back to
                    // where it was when saved.
                    if (l.stitchCount > 0 && (l.centerX != cx || l.centerY != cy)) {
                        l.translate(cx - l.centerX, cy - l.centerY);
                        l.computeBounds();
                    }
                }
            }
        } else if (log) {
            log->add(2, "loadProject", "PES data of layer " + std::to_string(i) + " cut short");
        }
        at = length <= size - std::min(at, size) ? at + length : size;
    }
    return true;
}

// ---- Loading into the document ------------------------------------------------------------

bool loadProject(Document& doc, const std::vector<uint8_t>& bytes) {
    std::vector<PESData> layers;
    FormatLog log;
    const bool ok = parseProject(bytes.data(), bytes.size(), layers, &log);
    for (const auto& l : log.lines)
        doc.log(l.level, l.module, l.text);
    if (!ok)
        return false;

    doc.history.clear();
    doc.removeAllLayers();
    for (std::size_t n = 0; n < layers.size(); ++n) {
        const int i = static_cast<int>(n);
        PESData& l = layers[n];
        const LayerProperties p = l.properties;
        if (p.type == kLayerPES && l.numColorChange == 0)
            l.setColor(p.colorIndex);
        doc.appendLayer(l, p.text);
        doc.select(i);
        if (p.type == kLayerShape) {
            EditShapeCommand::rebuild(doc, i, p);
        } else if (p.type == kLayerText) {
            TextEffectCommand text(doc, i, "Text Effect", p, p.extraLetterSpace, p.extraSpace);
            text.redo();
        }
    }
    if (!layers.empty())
        doc.select(0);
    doc.history.clear();
    doc.statusDirty = true;
    return true;
}
