// Where the design of a catalogue thumbnail is fetched from, and how addresses split.

#include "net/GalleryUrl.h"

#include <gtest/gtest.h>

#include <string>

using gallery::cataloguePath;
using gallery::designUrl;
using gallery::HttpUrl;
using gallery::percentEncode;
using gallery::splitHttpUrl;

namespace {

const std::string kBase = "http://gallery.example:8090/designs";

TEST(GalleryUrl, DesignUrlOfAThumbnail) {
    struct Case {
        std::string thumbnail;
        std::string root;
        std::string url;
    } cases[] = {
        // A Windows path: backslashes become slashes, the space is encoded.
        {"C:\\MES\\data\\TMB\\Flowers\\rose 1.jpg", "", kBase + "/Flowers/rose%201.pes"},
        {"/opt/mes/data/TMB/Flowers/rose 1.jpg", "", kBase + "/Flowers/rose%201.pes"},
        // Mixed separators and a sub-folder.
        {"data/TMB\\Greetings/New Year\\2024.jpg", "", kBase + "/Greetings/New%20Year/2024.pes"},
        // A Thai folder name goes as its UTF-8 bytes, upper-case hex.
        {"/d/TMB/\xE0\xB8\x84\xE0\xB8\xB3/a.jpg", "", kBase + "/%E0%B8%84%E0%B8%B3/a.pes"},
        // Upper-case extension; only the file's own ".jpg" changes.
        {"/d/TMB/old.jpg.d/ROSE.JPG", "", kBase + "/old.jpg.d/ROSE.pes"},
        // A folder on the way that only begins with "TMB" is not the catalogue.
        {"/home/TMBackup/data/TMB/Shapes/star.jpg", "", kBase + "/Shapes/star.pes"},
        // The catalogue root wins over the name: a "TMB" further up does not confuse it.
        {"/srv/TMB/mes/data/TMB/Names/Anna.jpg", "/srv/TMB/mes/data/TMB",
         kBase + "/Names/Anna.pes"},
        {"/srv/TMB/mes/data/TMB/Names/Anna.jpg", "/srv/TMB/mes/data/TMB/",
         kBase + "/Names/Anna.pes"},
        // No catalogue in the path at all: there is nothing to fetch.
        {"/home/user/Pictures/rose.jpg", "", ""},
        {"/home/user/TMBrose.jpg", "", ""},
        {"/d/TMB", "", ""},
        {"/d/TMB/", "", ""},
        {"", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(designUrl(kBase, c.thumbnail, c.root), c.url) << c.thumbnail;
}

TEST(GalleryUrl, BaseUrlKeepsItsTextWithoutTrailingSlashes) {
    EXPECT_EQ(designUrl("http://127.0.0.1:8090/", "/x/TMB/A/b c.jpg"),
              "http://127.0.0.1:8090/A/b%20c.pes");
    EXPECT_EQ(designUrl("http://h", "TMB/A/b.jpg"), "http://h/A/b.pes");
    EXPECT_EQ(cataloguePath("\\TMB\\Flowers\\rose 1.jpg"), "/Flowers/rose 1.jpg");
    EXPECT_EQ(gallery::designPath("\\TMB\\Flowers\\rose 1.jpg"), "/Flowers/rose%201.pes");
    EXPECT_EQ(gallery::designPath("/elsewhere/rose 1.jpg"), "");
}

TEST(GalleryUrl, PercentEncodingKeepsOnlyTheSafeCharacters) {
    EXPECT_EQ(percentEncode("AZaz09-./:_~"), "AZaz09-./:_~");
    EXPECT_EQ(percentEncode(" !\"#$%&'()*+,;=?@[]"),
              "%20%21%22%23%24%25%26%27%28%29%2A%2B%2C%3B%3D%3F%40%5B%5D");
    EXPECT_EQ(percentEncode(std::string("\x00\x7F\xFF", 3)), "%00%7F%FF");
    // สวัสดี
    EXPECT_EQ(percentEncode("\xE0\xB8\xAA\xE0\xB8\xA7\xE0\xB8\xB1"), "%E0%B8%AA%E0%B8%A7%E0%B8%B1");
}

TEST(GalleryUrl, SplitsAddressesIntoHostPortAndPath) {
    struct Case {
        std::string url;
        bool ok;
        std::string host;
        int port;
        std::string path;
    } cases[] = {
        {"http://127.0.0.1:8090/Flowers/rose%201.pes", true, "127.0.0.1", 8090,
         "/Flowers/rose%201.pes"},
        {"http://gallery.example/d/a.pes", true, "gallery.example", 80, "/d/a.pes"},
        {"HTTP://Host:1/", true, "Host", 1, "/"},
        {"gallery.example:65535/x", true, "gallery.example", 65535, "/x"},
        {"  http://h  ", true, "h", 80, "/"},
        {"http://h", true, "h", 80, "/"},
        {"https://h/x", false, "", 0, ""},
        {"ftp://h/x", false, "", 0, ""},
        {"http:///x", false, "", 0, ""},
        {"http://h:0/x", false, "", 0, ""},
        {"http://h:65536/x", false, "", 0, ""},
        {"http://h:80a/x", false, "", 0, ""},
        {"http://h:/x", false, "", 0, ""},
        {"", false, "", 0, ""},
        {"http://user@h/x", false, "", 0, ""},
        {"http://a:b:80/x", false, "", 0, ""},
        {std::string("http://h\0x/", 11), false, "", 0, ""},
        {"http://h/my designs", false, "", 0, ""},
        {"http://h/my%20designs", true, "h", 80, "/my%20designs"},
    };
    for (const Case& c : cases) {
        HttpUrl u;
        ASSERT_EQ(splitHttpUrl(c.url, u), c.ok) << c.url;
        if (!c.ok)
            continue;
        EXPECT_EQ(u.host, c.host) << c.url;
        EXPECT_EQ(u.port, c.port) << c.url;
        EXPECT_EQ(u.path, c.path) << c.url;
    }
}

}  // namespace
