#include "fts_reader.h"

#include <algorithm>
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
    for (int shift = 0; at < s.size(); shift += 7) {
        v |= std::uint64_t{static_cast<std::uint8_t>(s[at]) & 0x7Fu} << shift;
        if ((s[at++] & 0x80) == 0) return v;
    }
    throw std::runtime_error("count runs past the end");
}

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
    const unsigned newBytes = static_cast<std::uint8_t>(file.at(at)) - 1u;
    const unsigned shared = static_cast<std::uint8_t>(file.at(at + 1));
    Check(shared <= previous.size(), "prefix longer than the previous word");
    at += 2 + newBytes;
    return previous.substr(0, shared) + file.substr(at - newBytes, newBytes);
}

}  // namespace

FtsReader::FtsReader(std::string file) : file_(std::move(file)) {
    Check(file_.size() >= 0x400 + kNode && U32(file_, 0) == 0x00280000, "no header and node");
    Header& h = header_;
    for (auto [field, at] : {std::pair{&h.documentCount, 0x04},
                             {&h.leafCount, 0x10},
                             {&h.rootOffset, 0x14},
                             {&h.codePage, 0x7A},
                             {&h.lcid, 0x7E}})
        *field = U32(file_, at);
    h.depth = U16(file_, 0x18);
    Check(file_[0x1E] == 2 && file_[0x20] == 2 && file_[0x22] == 2, "scale is not 2");
    Check(U32(file_, 0x2E) == kNode && U32(file_, 0x08) == h.rootOffset, "node size or root offsets");
    Check(h.rootOffset + kNode == file_.size() && h.depth >= 1, "root is not the last node");

    // The leftmost leaf: the first child at every index level.
    std::uint32_t node = h.rootOffset, leaves = 0, lastLeaf = 0, freeBytes = 0;
    for (std::uint32_t level = 1; level < h.depth; ++level)
        node = U32(file_, node + 3 + static_cast<std::uint8_t>(file_[node + 2]));
    for (; node != 0; ++leaves) {
        for (Entry& e : ReadLeaf(node)) entries_.push_back(std::move(e));
        freeBytes += U16(file_, node + 6);
        lastLeaf = node;
        node = U32(file_, node);
        Check(node == 0 || node > lastLeaf, "leaf chain goes backwards");
    }
    Check(leaves == h.leafCount, "leaf chain length differs from the header's leaf count");
    // Index nodes follow the last leaf, the root last.
    for (std::uint32_t at = lastLeaf + kNode; h.depth > 1 && at <= h.rootOffset; at += kNode)
        freeBytes += U16(file_, at);
    // What the header says of the entries, at its offset.
    std::map<std::size_t, std::uint32_t> totals{{0x56, freeBytes}};  // free bytes of all nodes
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        const Entry& e = entries_[i];
        const int c = i == 0 ? -1 : CompareBytes(entries_[i - 1].word, e.word, false);
        Check(c < 0 || (c == 0 && entries_[i - 1].context < e.context), "entries out of order");
        totals[0x3E] = std::max<std::uint32_t>(totals[0x3E], e.word.size());  // longest word
        totals[0x46] += c != 0;                                               // distinct words
        totals[0x52] += e.word.size();                                        // bytes of the entries' words
        for (const DocumentHits& d : e.documents) {
            totals[0x42] += d.positions.size();  // occurrences
            totals[0x5E] = std::max(totals[0x5E], d.document);
        }
    }
    for (auto [at, total] : totals) Check(U32(file_, at) == total, "a header total differs from the entries");
}

std::vector<Entry> FtsReader::ReadLeaf(std::uint32_t offset) const {
    const std::size_t end = offset + kNode - U16(file_, offset + 6);
    Check(offset + kNode <= file_.size() && U16(file_, offset + 4) == 0 && end >= offset + 8, "bad leaf header");
    Check(file_.find_first_not_of('\0', end) >= offset + kNode, "non-zero byte in a leaf's free space");
    std::vector<Entry> out;
    for (std::size_t at = offset + 8; at < end;) {
        Check(!out.empty() || file_[at + 1] == 0, "first entry of a leaf shares a prefix");
        Entry e{
            NextKey(file_, at, out.empty() ? "" : out.back().word), static_cast<std::uint8_t>(file_[at]), offset, {}};
        const std::uint64_t count = ReadVarLe(file_, ++at);
        const std::uint32_t block = U32(file_, at);
        Check(U16(file_, at + 4) == 0, "entry field after the offset is not 0");
        const std::uint64_t size = ReadVarLe(file_, at += 6);
        Check(at <= end && block >= 0x400 && block + size <= file_.size(), "entry or block out of place");
        e.documents = ReadBlock(block, block + size, count);
        out.push_back(std::move(e));
    }
    return out;
}

// Location codes, most significant bit first, each document's from a fresh
// byte: document delta, number of positions, position deltas, each in the
// scale 2 code with the header's root r: n ones and a zero, then r bits
// (n = 0) or 2^(r+n-1) plus r+n-1 bits.
std::vector<DocumentHits> FtsReader::ReadBlock(std::size_t at, std::size_t end, std::uint64_t count) const {
    unsigned bit = 0;
    const auto next = [&]() -> unsigned {
        Check(at < end, "location codes run past their block");
        const unsigned b = (static_cast<std::uint8_t>(file_[at]) >> (7 - bit)) & 1;
        at += ++bit / 8;
        bit %= 8;
        return b;
    };
    const auto code = [&](int field) {
        const unsigned root = static_cast<std::uint8_t>(file_[0x1F + 2 * field]);
        unsigned ones = 0, bits = root;
        while (next() == 1) bits = root + ones++;
        std::uint64_t v = ones ? std::uint64_t{1} << bits : 0;
        for (unsigned i = bits; i > 0; --i) v += std::uint64_t{next()} << (i - 1);
        return v;
    };
    std::vector<DocumentHits> documents;
    for (std::uint64_t d = 0, document = 0; d < count; ++d) {
        const std::uint64_t delta = code(0), n = code(1);
        Check((d == 0 || delta != 0) && n != 0, "documents do not ascend or have no positions");
        DocumentHits hits{static_cast<std::uint32_t>(document += delta), {}};
        for (std::uint64_t i = 0, position = 0, step = 0; i < n; ++i) {
            Check((step = code(2)) != 0 || i == 0, "positions do not ascend");
            hits.positions.push_back(static_cast<std::uint32_t>(position += step));
        }
        if (bit != 0) ++at, bit = 0;
        documents.push_back(std::move(hits));
    }
    Check(at == end, "block size does not match its content");
    return documents;
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
    for (const Entry& e : entries_)
        if (e.word == word && e.context == context) return e;
    return std::nullopt;
}

std::vector<std::uint32_t> FtsReader::PhraseDocuments(const std::vector<std::string>& phrase) const {
    // (document, position of the phrase's first word) where the phrase holds so far, both contexts merged.
    std::set<std::pair<std::uint32_t, std::uint32_t>> starts;
    for (std::uint32_t i = 0; i < phrase.size(); ++i) {
        std::set<std::pair<std::uint32_t, std::uint32_t>> next;
        for (int context = 0; context < 2; ++context)
            if (const std::optional<Entry> e = Lookup(phrase[i], context))
                for (const DocumentHits& d : e->documents)
                    for (std::uint32_t p : d.positions)
                        if (i == 0 || starts.count({d.document, p - i})) next.insert({d.document, p - i});
        starts = std::move(next);
    }
    std::set<std::uint32_t> documents;
    for (const auto& start : starts) documents.insert(start.first);
    return {documents.begin(), documents.end()};
}

}  // namespace fts_test
