#include "stitchfont/SmartFontPack.h"

#include <cstdio>

SmartFontPack::SmartFontPack(const std::string& path, const FontEnv& env) : name_(path) {
    pack_.loadPack(path, env);
    if (pack_.glyphCount() == 0)
        env.emit(kFontError, "SmartFontPack", "load pack" + path + " fail");
}

std::shared_ptr<SmartFontPack> SmartFontPack::add(const std::string& path, const FontEnv& env) {
    return env.packCache().add(path, env);
}

std::shared_ptr<SmartFontPack> SmartFontPack::find(const std::string& path, const FontEnv& env) {
    return env.packCache().find(path, env);
}

PackCache& PackCache::shared() {
    static PackCache instance;
    return instance;
}

std::shared_ptr<SmartFontPack> PackCache::add(const std::string& path, const FontEnv& env) {
    auto it = packs_.find(path);
    if (it != packs_.end())
        return it->second;
    auto pack = std::make_shared<SmartFontPack>(path, env);
    packs_[path] = pack;
    if (pack->glyphCount() == 0)
        return nullptr;
    logListing(env);
    return pack;
}

std::shared_ptr<SmartFontPack> PackCache::find(const std::string& path, const FontEnv& env) const {
    auto it = packs_.find(path);
    if (it == packs_.end()) {
        env.emit(kFontError, "requested font", path + " not found");
        return nullptr;
    }
    return it->second;
}

void PackCache::logListing(const FontEnv& env) const {
    const std::string rule = "----------------------------------";
    env.emit(kFontNotice, "", rule);
    env.emit(kFontNotice, "", "total # of fonts cached" + std::to_string(packs_.size()));
    for (const auto& entry : packs_) {
        char id[32];
        std::snprintf(id, sizeof id, "%p", static_cast<const void*>(entry.second.get()));
        env.emit(kFontNotice, "", entry.first + " at " + id);
    }
    env.emit(kFontNotice, "", rule);
}
