#include "fts_reader.h"

#include <algorithm>
#include <cctype>
#include <set>
#include <stdexcept>

namespace fts_test {
namespace {

std::uint32_t U16(const std::string& s, std::size_t at) {
    if (at + 2 > s.size()) throw std::runtime_error("read past end at " + std::to_string(at));
    return static_cast<std::uint8_t>(s[at]) | static_cast<std::uint8_t>(s[at + 1]) << 8;
}

std::uint32_t U32(const std::string& s, std::size_t at) {
    return U16(s, at) | U16(s, at + 2) << 16;
}

// 7 bits a byte, least significant group first, continuation bit 0x80.
std::uint64_t ReadVarLe(const std::string& s, std::size_t& at) {
    std::uint64_t v = 0;
    int shift = 0;
    for (;;) {
        if (at >= s.size()) throw std::runtime_error("count runs past end");
        auto b = static_cast<std::uint8_t>(s[at++]);
        v |= static_cast<std::uint64_t>(b & 0x7F) << shift;
        shift += 7;
        if ((b & 0x80) == 0) return v;
    }
}

class BitSource {
public:
    BitSource(const std::string& data, std::size_t begin, std::size_t end) : d_(data), byte_(begin), end_(end) {}
    unsigned Bit() {
        if (byte_ >= end_) throw std::runtime_error("location codes run past their block");
        unsigned b = (static_cast<std::uint8_t>(d_[byte_]) >> (7 - bit_)) & 1;
        if (++bit_ == 8) {
            bit_ = 0;
            ++byte_;
        }
        return b;
    }
    std::uint64_t Bits(unsigned n) {
        std::uint64_t v = 0;
        while (n-- > 0) v = v << 1 | Bit();
        return v;
    }
    // Scale 2 / root r code.
    std::uint64_t Code(unsigned r) {
        unsigned ones = 0;
        while (Bit() == 1) ++ones;
        if (ones == 0) return Bits(r);
        unsigned m = r + ones - 1;
        return (std::uint64_t{1} << m) + Bits(m);
    }
    void Align() {
        if (bit_ != 0) {
            bit_ = 0;
            ++byte_;
        }
    }
    std::size_t byte() const { return byte_; }

private:
    const std::string& d_;
    std::size_t byte_;
    std::size_t end_;
    unsigned bit_ = 0;
};

int CompareBytes(const std::string& a, const std::string& b, bool fold) {
    std::size_t n = std::min(a.size(), b.size());
    for (std::size_t i = 0; i < n; ++i) {
        int x = static_cast<std::uint8_t>(a[i]);
        int y = static_cast<std::uint8_t>(b[i]);
        if (fold) {
            if (x >= 'A' && x <= 'Z') x += 32;
            if (y >= 'A' && y <= 'Z') y += 32;
        }
        if (x != y) return x < y ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

}  // namespace

FtsReader::FtsReader(std::string file) : file_(std::move(file)) {
    if (file_.size() < 0x400 + 4096) throw std::runtime_error("file shorter than header and one node");
    if (U32(file_, 0) != 0x00280000) throw std::runtime_error("bad signature");
    Header& h = header_;
    h.documentCount = U32(file_, 0x04);
    h.rootOffset08 = U32(file_, 0x08);
    h.leafCount = U32(file_, 0x10);
    h.rootOffset14 = U32(file_, 0x14);
    h.depth = static_cast<std::uint16_t>(U16(file_, 0x18));
    for (int i = 0; i < 3; ++i) {
        h.scales[i] = static_cast<std::uint8_t>(file_[0x1E + 2 * i]);
        h.roots[i] = static_cast<std::uint8_t>(file_[0x1F + 2 * i]);
    }
    h.nodeSize = U32(file_, 0x2E);
    h.longestWord = U32(file_, 0x3E);
    h.occurrences = U32(file_, 0x42);
    h.distinctWords = U32(file_, 0x46);
    h.entryWordBytes = U32(file_, 0x52);
    h.freeBytes = U32(file_, 0x56);
    h.highestDocument = U32(file_, 0x5E);
    h.codePage = U32(file_, 0x7A);
    h.lcid = U32(file_, 0x7E);
    if (h.scales[0] != 2 || h.scales[1] != 2 || h.scales[2] != 2) throw std::runtime_error("scale is not 2");
    if (h.nodeSize != 4096) throw std::runtime_error("node size is not 4096");
    if (h.rootOffset08 != h.rootOffset14) throw std::runtime_error("root offsets at 0x08 and 0x14 differ");
    if (h.rootOffset14 + 4096 != file_.size()) throw std::runtime_error("root is not the last node");
    if (h.depth < 1) throw std::runtime_error("depth 0");

    // Leftmost leaf: first child at every index level; index nodes' free space is counted below.
    std::uint32_t node = h.rootOffset14;
    for (int level = 1; level < h.depth; ++level) node = U32(file_, node + 2 + 2 + static_cast<std::uint8_t>(file_[node + 2]) - 1);

    std::uint32_t leaves = 0;
    std::uint32_t lastLeaf = 0;
    while (node != 0) {
        lastLeaf = node;
        std::uint32_t next = 0;
        std::uint16_t free = 0;
        for (Entry& e : ReadLeaf(node, &next, &free)) entries_.push_back(std::move(e));
        nodeFreeBytes_ += free;
        ++leaves;
        if (next != 0 && next <= node) throw std::runtime_error("leaf chain goes backwards");
        node = next;
    }
    if (leaves != h.leafCount) throw std::runtime_error("leaf chain length differs from the header's leaf count");
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        if (i > 0) {
            int c = CompareBytes(entries_[i - 1].word, entries_[i].word, false);
            if (c > 0 || (c == 0 && entries_[i - 1].context >= entries_[i].context))
                throw std::runtime_error("entries out of order at " + entries_[i].word);
        }
        byWord_[{entries_[i].word, entries_[i].context}] = i;
    }
    // Index nodes follow the last leaf, the root last.
    for (std::uint32_t off = lastLeaf + 4096; h.depth > 1 && off <= h.rootOffset14; off += 4096)
        nodeFreeBytes_ += U16(file_, off);
}

std::vector<Entry> FtsReader::ReadLeaf(std::uint32_t offset, std::uint32_t* next, std::uint16_t* free,
                                       const std::pair<std::string, int>* match) const {
    if (offset + 4096 > file_.size()) throw std::runtime_error("leaf beyond end");
    *next = U32(file_, offset);
    *free = static_cast<std::uint16_t>(U16(file_, offset + 6));
    if (U16(file_, offset + 4) != 0) throw std::runtime_error("leaf field at +4 is not 0");
    if (*free > 4096 - 8) throw std::runtime_error("leaf free space too large");
    std::size_t end = offset + 4096 - *free;
    for (std::size_t z = end; z < offset + 4096; ++z)
        if (file_[z] != 0) throw std::runtime_error("non-zero byte in a leaf's free space");
    std::vector<Entry> out;
    std::string word;
    std::size_t at = offset + 8;
    while (at < end) {
        unsigned newBytes = static_cast<std::uint8_t>(file_[at]) - 1u;
        unsigned shared = static_cast<std::uint8_t>(file_[at + 1]);
        if (out.empty() && shared != 0) throw std::runtime_error("first entry of a leaf shares a prefix");
        if (shared > word.size()) throw std::runtime_error("prefix longer than previous word");
        word = word.substr(0, shared) + file_.substr(at + 2, newBytes);
        at += 2 + newBytes;
        Entry e;
        e.word = word;
        e.leafOffset = offset;
        e.context = static_cast<std::uint8_t>(file_[at++]);
        std::uint64_t count = ReadVarLe(file_, at);
        std::uint32_t blockOffset = U32(file_, at);
        at += 4;
        if (U16(file_, at) != 0) throw std::runtime_error("entry field after offset is not 0");
        at += 2;
        std::uint64_t size = ReadVarLe(file_, at);
        if (at > end) throw std::runtime_error("entry crosses the end of the used space");
        if (match == nullptr || (match->first == e.word && match->second == e.context))
            e.documents = ReadBlock(blockOffset, static_cast<std::uint32_t>(size), static_cast<std::uint32_t>(count));
        out.push_back(std::move(e));
    }
    return out;
}

std::vector<DocumentHits> FtsReader::ReadBlock(std::uint32_t offset, std::uint32_t size, std::uint32_t count) const {
    if (offset < 0x400 || offset + size > file_.size()) throw std::runtime_error("block outside the file");
    BitSource bits(file_, offset, offset + size);
    std::vector<DocumentHits> docs;
    std::uint64_t document = 0;
    for (std::uint32_t d = 0; d < count; ++d) {
        std::uint64_t delta = bits.Code(header_.roots[0]);
        if (d > 0 && delta == 0) throw std::runtime_error("documents do not ascend");
        document += delta;
        DocumentHits hits;
        hits.document = static_cast<std::uint32_t>(document);
        std::uint64_t n = bits.Code(header_.roots[1]);
        if (n == 0) throw std::runtime_error("document without positions");
        std::uint64_t position = 0;
        for (std::uint64_t i = 0; i < n; ++i) {
            std::uint64_t step = bits.Code(header_.roots[2]);
            if (i > 0 && step == 0) throw std::runtime_error("positions do not ascend");
            position += step;
            hits.positions.push_back(static_cast<std::uint32_t>(position));
        }
        bits.Align();
        docs.push_back(std::move(hits));
    }
    if (bits.byte() != offset + size) throw std::runtime_error("block size does not match its content");
    return docs;
}

std::uint32_t FtsReader::Descend(const std::string& word, bool fold) const {
    std::uint32_t node = header_.rootOffset14;
    for (int level = 1; level < header_.depth; ++level) {
        std::uint32_t free = U16(file_, node);
        std::size_t end = node + 4096 - free;
        std::size_t at = node + 2;
        std::string key;
        std::uint32_t child = 0;
        while (at < end) {
            unsigned newBytes = static_cast<std::uint8_t>(file_[at]) - 1u;
            unsigned shared = static_cast<std::uint8_t>(file_[at + 1]);
            key = key.substr(0, shared) + file_.substr(at + 2, newBytes);
            at += 2 + newBytes;
            std::uint32_t target = U32(file_, at);
            at += 6;
            if (CompareBytes(word, key, fold) <= 0) {
                child = target;
                break;
            }
        }
        if (child == 0) return 0;
        node = child;
    }
    return node;
}

std::optional<Entry> FtsReader::Lookup(const std::string& word, int context) const {
    std::pair<std::string, int> match(word, context);
    auto cached = lookups_.find(match);
    if (cached != lookups_.end()) return cached->second;
    std::optional<Entry> found;
    if (std::uint32_t leaf = Descend(word, false); leaf != 0) {
        std::uint32_t next = 0;
        std::uint16_t free = 0;
        for (Entry& e : ReadLeaf(leaf, &next, &free, &match))
            if (e.word == word && e.context == context) found = std::move(e);
    }
    lookups_[match] = found;
    return found;
}

std::uint32_t FtsReader::LeafByCaseInsensitiveDescent(const std::string& word) const { return Descend(word, true); }

std::vector<std::uint32_t> FtsReader::PhraseDocuments(const std::vector<std::string>& chars) const {
    // document -> positions of chars[i], both contexts
    std::vector<std::map<std::uint32_t, std::set<std::uint32_t>>> perChar(chars.size());
    for (std::size_t i = 0; i < chars.size(); ++i) {
        for (int context = 0; context < 2; ++context) {
            std::optional<Entry> e = Lookup(chars[i], context);
            if (!e) continue;
            for (const DocumentHits& d : e->documents) perChar[i][d.document].insert(d.positions.begin(), d.positions.end());
        }
    }
    std::vector<std::uint32_t> result;
    if (chars.empty()) return result;
    for (const auto& [doc, starts] : perChar[0]) {
        bool found = false;
        for (std::uint32_t p : starts) {
            bool all = true;
            for (std::size_t i = 1; i < chars.size() && all; ++i) {
                auto it = perChar[i].find(doc);
                all = it != perChar[i].end() && it->second.count(p + static_cast<std::uint32_t>(i)) != 0;
            }
            if (all) {
                found = true;
                break;
            }
        }
        if (found) result.push_back(doc);
    }
    return result;
}

}  // namespace fts_test
