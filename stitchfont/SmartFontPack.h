// The pack cache: each stitch font pack is read once, on first use, and stays loaded until the
// program ends. Holders of a pack share ownership with the cache.
#pragma once

#include <map>
#include <memory>
#include <string>

#include "stitchfont/FontEnv.h"
#include "stitchfont/StitchPack.h"

// A cached pack: the pack file path it was loaded from and the loaded StitchPack.
class SmartFontPack {
public:
    // Loads the pack at path; logs "load pack<path> fail" under "SmartFontPack" when it ends up
    // without glyphs.
    SmartFontPack(const std::string& path, const FontEnv& env);

    const std::string& name() const { return name_; }
    const StitchPack& pack() const { return pack_; }
    std::size_t glyphCount() const { return pack_.glyphCount(); }

    // The process-wide cache of env (PackCache::shared() unless env names another).
    static std::shared_ptr<SmartFontPack> add(const std::string& path, const FontEnv& env);
    static std::shared_ptr<SmartFontPack> find(const std::string& path, const FontEnv& env);

private:
    std::string name_;
    StitchPack pack_;
};

// Map from pack file path to pack. Entries are never removed: a pack that failed to load stays
// as an empty pack, so later text in that font and size fails without reading the disk again.
class PackCache {
public:
    // The editor's cache. It lives in this function's static: created on first use, destroyed
    // after main returns (it owns only memory).
    static PackCache& shared();

    // The cached pack for path, loading it on first use. Null when a newly loaded pack has no
    // glyphs (it is cached all the same); a cached empty pack is returned as it is.
    std::shared_ptr<SmartFontPack> add(const std::string& path, const FontEnv& env);
    // The cached pack or null (logging "<path> not found" under "requested font"); never loads.
    std::shared_ptr<SmartFontPack> find(const std::string& path, const FontEnv& env) const;

    std::size_t size() const { return packs_.size(); }

private:
    void logListing(const FontEnv& env) const;

    std::map<std::string, std::shared_ptr<SmartFontPack>> packs_;
};
