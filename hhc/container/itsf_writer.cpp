#include "container/itsf_writer.h"

#include <algorithm>
#include <stdexcept>
#include <string_view>

#include "container/compressed_section.h"
#include "container/dataspace.h"
#include "container/directory.h"
#include "container/internal_names.h"
#include "common/le_bytes.h"
#include "container/name_order.h"

namespace hhc::container {

namespace {

constexpr std::uint32_t kItsfVersion = 3;
constexpr std::uint32_t kItsfHeaderSize = 0x60;
constexpr std::uint32_t kHeaderSection0Size = 0x18;
constexpr std::uint64_t kDirectoryOffset = kItsfHeaderSize + kHeaderSection0Size;
// {7C01FD10-7BAA-11D0-9E0C-00A0C922E6EC} and {7C01FD11-...}, in stored byte order.
constexpr std::uint8_t kItsfGuid0[16] = {0x10, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                         0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
constexpr std::uint8_t kItsfGuid1[16] = {0x11, 0xFD, 0x01, 0x7C, 0xAA, 0x7B, 0xD0, 0x11,
                                         0x9E, 0x0C, 0x00, 0xA0, 0xC9, 0x22, 0xE6, 0xEC};
constexpr std::uint32_t kHeaderSection0Signature = 0x01FE;
constexpr std::string_view kItbitsName = "/#ITBITS";

void AppendItsfHeader(std::string& out, const ContainerOptions& options, std::uint64_t directoryLength) {
    out.append("ITSF", 4);
    PutU32(out, kItsfVersion);
    PutU32(out, kItsfHeaderSize);
    PutU32(out, 1);
    // The time stamp is kept big-endian.
    for (int shift = 24; shift >= 0; shift -= 8) PutU8(out, static_cast<std::uint8_t>(options.timestamp >> shift));
    PutU32(out, options.lcid);
    PutBytes(out, kItsfGuid0, sizeof kItsfGuid0);
    PutBytes(out, kItsfGuid1, sizeof kItsfGuid1);
    PutU64(out, kItsfHeaderSize);
    PutU64(out, kHeaderSection0Size);
    PutU64(out, kDirectoryOffset);
    PutU64(out, directoryLength);
    PutU64(out, kDirectoryOffset + directoryLength);  // content section 0
}

void AppendHeaderSection0(std::string& out, std::uint64_t fileLength) {
    PutU32(out, kHeaderSection0Signature);
    PutU32(out, 0);
    PutU64(out, fileLength);
    PutU32(out, 0);
    PutU32(out, 0);
}

// Refuses, before any work is done, names that cannot be stored.
void CheckFiles(const std::vector<InternalFile>& files) {
    std::vector<std::string_view> names;
    names.reserve(files.size());
    for (const InternalFile& f : files) {
        CheckFileName(f.name);
        if (IsFolderName(f.name) && !f.data.empty())
            throw std::invalid_argument("internal file name " + Quoted(f.name) + " ends in \"/\" (a folder) but has data");
        names.push_back(f.name);
    }
    CheckNamesDistinct(std::move(names));
}

// Section 0 apart from the compressed stream, which goes last and is copied
// straight into the book.
class Section0Builder {
public:
    explicit Section0Builder(std::vector<DirectoryEntry>& entries) : entries_(entries) {}

    void Add(std::string_view name, std::string_view data) {
        entries_.push_back({std::string(name), 0, data.empty() ? 0 : bytes_.size(), data.size()});
        bytes_.append(data);
    }
    void AddAtEnd(std::string_view name, std::uint64_t length) {
        entries_.push_back({std::string(name), 0, length == 0 ? 0 : bytes_.size(), length});
    }
    const std::string& bytes() const { return bytes_; }

private:
    std::vector<DirectoryEntry>& entries_;
    std::string bytes_;
};

void AddFolderEntries(const std::vector<InternalFile>& files, std::vector<DirectoryEntry>& entries) {
    std::vector<std::string_view> names;
    names.reserve(files.size());
    for (const InternalFile& f : files) names.push_back(f.name);
    for (std::string& folder : FoldersOf(names)) entries.push_back({std::move(folder), 0, 0, 0});
    entries.push_back({std::string(kInstanceDataFolder), 0, 0, 0});
}

bool IsFolderEntry(const DirectoryEntry& e) { return IsFolderName(e.name) && e.length == 0; }

// Sorts the entries into directory order and merges folder entries that
// readers would take for one another ("/Img/" and "/img/"). The files' names
// have been checked already, so any other clash is a fault of this writer.
void SortEntries(std::vector<DirectoryEntry>& entries) {
    std::stable_sort(entries.begin(), entries.end(),
                     [](const DirectoryEntry& a, const DirectoryEntry& b) { return NameLess(a.name, b.name); });
    std::size_t kept = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (kept > 0 && CompareNames(entries[kept - 1].name, entries[i].name) == 0) {
            if (IsFolderEntry(entries[kept - 1]) && IsFolderEntry(entries[i])) continue;
            throw std::logic_error("container entries " + Quoted(entries[kept - 1].name) + " and " +
                                   Quoted(entries[i].name) + " clash");
        }
        if (kept != i) entries[kept] = std::move(entries[i]);
        ++kept;
    }
    entries.resize(kept);
}

bool HasName(const std::vector<InternalFile>& files, std::string_view name) {
    return std::any_of(files.begin(), files.end(),
                       [&](const InternalFile& f) { return CompareNames(f.name, name) == 0; });
}

std::string Build(const std::vector<InternalFile>& files, std::vector<InternalFile>* releasable,
                  const ContainerOptions& options) {
    CheckFiles(files);
    std::vector<DirectoryEntry> entries;
    entries.reserve(files.size() + 16);
    AddFolderEntries(files, entries);

    CompressedContent content = CompressFiles(files, releasable);
    const std::vector<std::uint8_t>& stream = content.lzx.data;

    Section0Builder section0(entries);
    section0.Add(kNameListName, NameListFile());
    section0.Add(kTransformListName, TransformListFile());
    section0.Add(kSpanInfoName, SpanInfoFile(content.sectionLength));
    section0.Add(kControlDataName, ControlDataFile());
    section0.Add(kResetTableName, ResetTableFile(content.sectionLength, stream.size(), content.lzx.frameOffsets));
    if (!HasName(files, kItbitsName)) section0.Add(kItbitsName, {});
    for (std::size_t i = 0; i < files.size(); ++i) {
        const InternalFile& f = files[i];
        if (IsFolderName(f.name)) {
            entries.push_back({f.name, 0, 0, 0});
        } else if (f.section == Section::kUncompressed) {
            section0.Add(f.name, f.data);
        } else {
            entries.push_back({f.name, 1, content.offsets[i], content.lengths[i]});
        }
    }
    section0.AddAtEnd(kContentName, stream.size());

    SortEntries(entries);
    const Directory directory = BuildDirectory(entries);
    entries = {};

    const std::uint64_t contentOffset = kDirectoryOffset + directory.bytes.size();
    const std::uint64_t fileLength = contentOffset + section0.bytes().size() + stream.size();
    std::string book;
    book.reserve(fileLength);
    AppendItsfHeader(book, options, directory.bytes.size());
    AppendHeaderSection0(book, fileLength);
    book.append(directory.bytes);
    book.append(section0.bytes());
    book.append(reinterpret_cast<const char*>(stream.data()), stream.size());
    return book;
}

}  // namespace

std::string BuildContainer(const std::vector<InternalFile>& files, const ContainerOptions& options) {
    return Build(files, nullptr, options);
}

std::string BuildContainer(std::vector<InternalFile>&& files, const ContainerOptions& options) {
    return Build(files, &files, options);
}

}  // namespace hhc::container
