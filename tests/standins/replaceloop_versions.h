// The versions of the files that the stand-in "replaceloop" writes, shared
// with the test that checks them: each version of each target is a whole of
// its own, with a size and bytes of its own, so that a file cut short, one
// of another target or one pieced together from two versions does not pass
// for a whole version.
#pragma once
#include <cstdio>
#include <string>

namespace replaceloop {

// The bytes of version `version` of target `target`.
inline std::string VersionBytes(unsigned target, unsigned version)
{
    // Small, so that the sets, not the writing, take most of the program's
    // time.
    const unsigned size = 4096 + (version % 17) * 256 + target * 128;
    char head[96];
    std::snprintf(head, sizeof(head), "REPLACELOOP target %u version %u size %u\n", target, version, size);
    std::string bytes = head;
    bytes.reserve(bytes.size() + size + 4);
    for (unsigned i = 0; i < size; ++i) bytes += static_cast<char>((target * 131u + version * 7u + i * 13u) >> 3);
    bytes += "END\n";
    return bytes;
}

// Whether the bytes are one whole version of target `target`.
inline bool IsWholeVersion(unsigned target, const std::string& bytes)
{
    unsigned found = 0, version = 0, size = 0;
    if (std::sscanf(bytes.c_str(), "REPLACELOOP target %u version %u size %u", &found, &version, &size) != 3)
        return false;
    return found == target && bytes == VersionBytes(target, version);
}

} // namespace replaceloop
