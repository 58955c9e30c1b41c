#include "ChmFile.h"
#include <windows.h>
#include <algorithm>
#include <cctype>
#include <cstring>

namespace chm_file {

namespace {

const uint32_t kChunkSize = 0x1000;
const uint32_t kItsfSize = 0x60;
const uint32_t kSection0Size = 0x18;
const uint32_t kItspSize = 0x54;
const uint32_t kPmglHeaderSize = 0x14;
const uint32_t kLanguage = 0x0804; // Chinese (PRC)

void Put32(std::string& out, uint32_t v)
{
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void Put64(std::string& out, uint64_t v)
{
    Put32(out, static_cast<uint32_t>(v));
    Put32(out, static_cast<uint32_t>(v >> 32));
}

void PutGuid(std::string& out, uint32_t a, uint16_t b, uint16_t c, const unsigned char (&d)[8])
{
    Put32(out, a);
    out.push_back(static_cast<char>(b & 0xFF));
    out.push_back(static_cast<char>(b >> 8));
    out.push_back(static_cast<char>(c & 0xFF));
    out.push_back(static_cast<char>(c >> 8));
    out.append(reinterpret_cast<const char*>(d), 8);
}

// The directory's numbers: seven bits a byte, most significant first, the
// high bit set on every byte but the last.
void PutEncoded(std::string& out, uint64_t v)
{
    std::string bytes(1, static_cast<char>(v & 0x7F));
    for (v >>= 7; v; v >>= 7) bytes.insert(bytes.begin(), static_cast<char>(0x80 | (v & 0x7F)));
    out += bytes;
}

bool NameLess(const Entry& a, const Entry& b)
{
    return std::lexicographical_compare(a.name.begin(), a.name.end(), b.name.begin(), b.name.end(),
                                        [](char x, char y) { return std::tolower(x) < std::tolower(y); });
}

} // namespace

std::vector<Entry> TopicMap(const std::vector<std::pair<uint32_t, std::string>>& topics)
{
    std::string ivb, strings(1, '\0');
    Put32(ivb, static_cast<uint32_t>(topics.size() * 8));
    for (const auto& topic : topics) {
        Put32(ivb, topic.first);
        Put32(ivb, static_cast<uint32_t>(strings.size()));
        strings += topic.second;
        strings.push_back('\0');
    }
    return {{"/#IVB", ivb}, {"/#STRINGS", strings}};
}

std::string Build(std::vector<Entry> entries)
{
    std::sort(entries.begin(), entries.end(), NameLess);
    std::string listing, content;
    for (const Entry& e : entries) {
        PutEncoded(listing, e.name.size());
        listing += e.name;
        PutEncoded(listing, 0); // the uncompressed section
        PutEncoded(listing, content.size());
        PutEncoded(listing, e.data.size());
        content += e.data;
    }
    if (listing.size() > kChunkSize - kPmglHeaderSize) return std::string();

    std::string chunk = "PMGL";
    Put32(chunk, static_cast<uint32_t>(kChunkSize - kPmglHeaderSize - listing.size())); // free space
    Put32(chunk, 0);
    Put32(chunk, 0xFFFFFFFFu); // no previous chunk
    Put32(chunk, 0xFFFFFFFFu); // no next chunk
    chunk += listing;
    chunk.resize(kChunkSize, '\0');

    const unsigned char itsfTail[8] = {0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
    const unsigned char itspTail[8] = {0x9D, 0xF9, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};

    std::string directory = "ITSP";
    Put32(directory, 1);            // version
    Put32(directory, kItspSize);    // header size
    Put32(directory, 0x0A);
    Put32(directory, kChunkSize);   // chunk size
    Put32(directory, 2);            // quick-reference density
    Put32(directory, 1);            // index depth: listing chunks only
    Put32(directory, 0xFFFFFFFFu);  // no index chunk
    Put32(directory, 0);            // first listing chunk
    Put32(directory, 0);            // last listing chunk
    Put32(directory, 0xFFFFFFFFu);
    Put32(directory, 1);            // chunk count
    Put32(directory, kLanguage);
    PutGuid(directory, 0x5D02926A, 0x212E, 0x11D0, itspTail);
    Put32(directory, kItspSize);
    Put32(directory, 0xFFFFFFFFu);
    Put32(directory, 0xFFFFFFFFu);
    Put32(directory, 0xFFFFFFFFu);
    directory += chunk;

    const uint64_t directoryOffset = kItsfSize + kSection0Size;
    const uint64_t contentOffset = directoryOffset + directory.size();
    const uint64_t total = contentOffset + content.size();

    std::string file = "ITSF";
    Put32(file, 3);         // version
    Put32(file, kItsfSize); // header size
    Put32(file, 1);
    Put32(file, 0);         // time stamp
    Put32(file, kLanguage);
    PutGuid(file, 0x7C01FD10, 0x7BAA, 0x11D0, itsfTail);
    PutGuid(file, 0x7C01FD11, 0x7BAA, 0x11D0, itsfTail);
    Put64(file, kItsfSize);
    Put64(file, kSection0Size);
    Put64(file, directoryOffset);
    Put64(file, directory.size());
    Put64(file, contentOffset);
    // Section 0: the file's size.
    Put32(file, 0x01FE);
    Put32(file, 0);
    Put64(file, total);
    Put32(file, 0);
    Put32(file, 0);
    file += directory;
    file += content;
    return file;
}

bool Write(const wchar_t* path, const std::vector<Entry>& entries)
{
    const std::string bytes = Build(entries);
    if (bytes.empty()) return false;
    HANDLE file = ::CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == bytes.size();
}

} // namespace chm_file
