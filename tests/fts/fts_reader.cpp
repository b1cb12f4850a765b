#include "fts_reader.h"

#include <map>
#include <set>
#include <stdexcept>

namespace fts_test {
namespace {

constexpr std::uint32_t kNode = 4096;

void Check(bool ok, const char* problem) {
    if (!ok) throw std::runtime_error(problem);
}

std::uint32_t U16(const std::string& s, std::size_t at) {
    Check(at + 2 <= s.size(), "read past the end");
    return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8;
}

std::uint32_t U32(const std::string& s, std::size_t at) { return U16(s, at) | U16(s, at + 2) << 16; }

// 7 bits a byte, least significant group first, continuation bit 0x80.
std::uint64_t ReadVarLe(const std::string& s, std::size_t& at) {
    std::uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        Check(at < s.size(), "count runs past end");
        const auto b = static_cast<std::uint8_t>(s[at++]);
        v |= std::uint64_t{b & 0x7Fu} << shift;
        if ((b & 0x80) == 0) return v;
    }
}

// Location codes: most significant bit first, each document's codes from a fresh byte.
class BitSource {
public:
    BitSource(const std::string& data, std::size_t begin, std::size_t end) : d_(data), byte_(begin), end_(end) {}
    unsigned Bit() {
        Check(byte_ < end_, "location codes run past their block");
        const unsigned b = (static_cast<std::uint8_t>(d_[byte_]) >> (7 - bit_)) & 1;
        if (++bit_ == 8) Align();
        return b;
    }
    std::uint64_t Bits(unsigned n) {
        std::uint64_t v = 0;
        while (n-- > 0) v = v << 1 | Bit();
        return v;
    }
    // Scale 2, root r: n ones and a zero, then r bits (n = 0) or 2^(r+n-1) + r+n-1 bits.
    std::uint64_t Code(unsigned r) {
        unsigned ones = 0;
        while (Bit() == 1) ++ones;
        if (ones == 0) return Bits(r);
        return (std::uint64_t{1} << (r + ones - 1)) + Bits(r + ones - 1);
    }
    void Align() {
        if (bit_ != 0) ++byte_;
        bit_ = 0;
    }
    std::size_t byte() const { return byte_; }

private:
    const std::string& d_;
    std::size_t byte_, end_;
    unsigned bit_ = 0;
};

int CompareBytes(const std::string& a, const std::string& b, bool fold) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        int x = static_cast<std::uint8_t>(a[i]), y = static_cast<std::uint8_t>(b[i]);
        if (fold && x >= 'A' && x <= 'Z') x += 32;
        if (fold && y >= 'A' && y <= 'Z') y += 32;
        if (x != y) return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : a.size() < b.size() ? -1 : 1;
}

// A key of a leaf or index node: length of the new part + 1, shared prefix length, new part.
std::string NextKey(const std::string& file, std::size_t& at, const std::string& previous) {
    const unsigned newBytes = static_cast<std::uint8_t>(file.at(at)) - 1u,
                   shared = static_cast<std::uint8_t>(file.at(at + 1));
    Check(shared <= previous.size(), "prefix longer than the previous word");
    at += 2 + newBytes;
    return previous.substr(0, shared) + file.substr(at - newBytes, newBytes);
}

}  // namespace

FtsReader::FtsReader(std::string file) : file_(std::move(file)) {
    Check(file_.size() >= 0x400 + kNode && U32(file_, 0) == 0x00280000, "no header and node");
    Header& h = header_;
    h.documentCount = U32(file_, 0x04);
    h.rootOffset = U32(file_, 0x14);
    h.leafCount = U32(file_, 0x10);
    h.depth = U16(file_, 0x18);
    for (int i = 0; i < 3; ++i) {
        Check(file_[0x1E + 2 * i] == 2, "scale is not 2");
        h.roots[i] = static_cast<std::uint8_t>(file_[0x1F + 2 * i]);
    }
    Check(U32(file_, 0x2E) == kNode, "node size is not 4096");
    h.longestWord = U32(file_, 0x3E);
    h.occurrences = U32(file_, 0x42);
    h.distinctWords = U32(file_, 0x46);
    h.entryWordBytes = U32(file_, 0x52);
    h.freeBytes = U32(file_, 0x56);
    h.highestDocument = U32(file_, 0x5E);
    h.codePage = U32(file_, 0x7A);
    h.lcid = U32(file_, 0x7E);
    Check(U32(file_, 0x08) == h.rootOffset, "root offsets at 0x08 and 0x14 differ");
    Check(h.rootOffset + kNode == file_.size(), "root is not the last node");
    Check(h.depth >= 1, "depth 0");

    // Leftmost leaf: the first child at every index level.
    std::uint32_t node = h.rootOffset, leaves = 0, lastLeaf = 0;
    for (std::uint32_t level = 1; level < h.depth; ++level)
        node = U32(file_, node + 3 + static_cast<std::uint8_t>(file_[node + 2]));
    while (node != 0) {
        std::uint32_t next = 0, free = 0;
        for (Entry& e : ReadLeaf(node, &next, &free)) entries_.push_back(std::move(e));
        nodeFreeBytes_ += free;
        ++leaves;
        Check(next == 0 || next > node, "leaf chain goes backwards");
        lastLeaf = node;
        node = next;
    }
    Check(leaves == h.leafCount, "leaf chain length differs from the header's leaf count");
    for (std::size_t i = 1; i < entries_.size(); ++i) {
        const int c = CompareBytes(entries_[i - 1].word, entries_[i].word, false);
        Check(c < 0 || (c == 0 && entries_[i - 1].context < entries_[i].context), "entries out of order");
    }
    // Index nodes follow the last leaf, the root last.
    for (std::uint32_t off = lastLeaf + kNode; h.depth > 1 && off <= h.rootOffset; off += kNode)
        nodeFreeBytes_ += U16(file_, off);
}

std::vector<Entry> FtsReader::ReadLeaf(std::uint32_t offset, std::uint32_t* next, std::uint32_t* free,
                                       const Entry* match) const {
    Check(offset + kNode <= file_.size(), "leaf beyond end");
    *next = U32(file_, offset);
    *free = U16(file_, offset + 6);
    Check(U16(file_, offset + 4) == 0 && *free <= kNode - 8, "bad leaf header");
    const std::size_t end = offset + kNode - *free;
    Check(file_.find_first_not_of('\0', end) >= offset + kNode, "non-zero byte in a leaf's free space");
    std::vector<Entry> out;
    std::string word;
    for (std::size_t at = offset + 8; at < end;) {
        Check(!out.empty() || file_[at + 1] == 0, "first entry of a leaf shares a prefix");
        Entry e{NextKey(file_, at, word), static_cast<std::uint8_t>(file_[at]), offset, {}};
        word = e.word;
        ++at;
        const std::uint64_t count = ReadVarLe(file_, at);
        const std::uint32_t block = U32(file_, at);
        Check(U16(file_, at + 4) == 0, "entry field after the offset is not 0");
        at += 6;
        const std::uint64_t size = ReadVarLe(file_, at);
        Check(at <= end, "entry crosses the end of the used space");
        if (!match || (match->word == e.word && match->context == e.context))
            e.documents = ReadBlock(block, static_cast<std::uint32_t>(size), count);
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<DocumentHits> FtsReader::ReadBlock(std::uint32_t offset, std::uint32_t size, std::uint64_t count) const {
    Check(offset >= 0x400 && offset + size <= file_.size(), "block outside the file");
    BitSource bits(file_, offset, offset + size);
    std::vector<DocumentHits> docs;
    std::uint64_t document = 0;
    for (std::uint64_t d = 0; d < count; ++d) {
        const std::uint64_t delta = bits.Code(header_.roots[0]);
        Check(d == 0 || delta != 0, "documents do not ascend");
        document += delta;
        DocumentHits hits{static_cast<std::uint32_t>(document), {}};
        const std::uint64_t n = bits.Code(header_.roots[1]);
        Check(n != 0, "document without positions");
        for (std::uint64_t i = 0, position = 0; i < n; ++i) {
            const std::uint64_t step = bits.Code(header_.roots[2]);
            Check(i == 0 || step != 0, "positions do not ascend");
            hits.positions.push_back(static_cast<std::uint32_t>(position += step));
        }
        bits.Align();
        docs.push_back(std::move(hits));
    }
    Check(bits.byte() == offset + size, "block size does not match its content");
    return docs;
}

std::uint32_t FtsReader::Descend(const std::string& word, bool fold) const {
    std::uint32_t node = header_.rootOffset;
    for (std::uint32_t level = 1; level < header_.depth && node != 0; ++level) {
        const std::size_t end = node + kNode - U16(file_, node);
        std::string key;
        std::uint32_t child = 0;
        for (std::size_t at = node + 2; at < end && child == 0; at += 6) {
            key = NextKey(file_, at, key);
            if (CompareBytes(word, key, fold) <= 0) child = U32(file_, at);
        }
        node = child;
    }
    return node;
}

std::optional<Entry> FtsReader::Lookup(const std::string& word, int context) const {
    auto [found, fresh] = lookups_.try_emplace({word, context});
    const std::uint32_t leaf = fresh ? Descend(word, false) : 0;
    const Entry match{word, context, 0, {}};
    std::uint32_t next = 0, free = 0;
    for (Entry& e : leaf ? ReadLeaf(leaf, &next, &free, &match) : std::vector<Entry>{})
        if (e.word == word && e.context == context) found->second = std::move(e);
    return found->second;
}

std::vector<std::uint32_t> FtsReader::PhraseDocuments(const std::vector<std::string>& phrase) const {
    // For each word: document -> positions, both contexts.
    std::vector<std::map<std::uint32_t, std::set<std::uint32_t>>> positions(phrase.size());
    for (std::size_t i = 0; i < phrase.size(); ++i)
        for (int context = 0; context < 2; ++context)
            if (const std::optional<Entry> e = Lookup(phrase[i], context))
                for (const DocumentHits& d : e->documents)
                    positions[i][d.document].insert(d.positions.begin(), d.positions.end());
    std::vector<std::uint32_t> result;
    if (phrase.empty()) return result;
    for (const auto& [document, starts] : positions[0]) {
        for (std::uint32_t start : starts) {
            bool all = true;
            for (std::size_t i = 1; i < phrase.size() && all; ++i)
                all =
                    positions[i].count(document) && positions[i][document].count(start + static_cast<std::uint32_t>(i));
            if (all) {
                result.push_back(document);
                break;
            }
        }
    }
    return result;
}

}  // namespace fts_test
