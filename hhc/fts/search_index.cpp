#include "fts/search_index.h"

#include <algorithm>

#include "fts/btree_writer.h"
#include "fts/code_page.h"
#include "fts/fti_header.h"
#include "fts/location_codes.h"
#include "fts/objinst.h"
#include "fts/page_text.h"
#include "fts/word_breaker.h"
#include "fts/word_table.h"

namespace hhc::fts {
namespace {

// Title words take the first positions of a page (context 1); the body
// follows after one empty position, so no phrase runs from title into body.
void IndexPage(const SearchTopic& topic, CodePage& codePage, WordTable& table, std::vector<WordHit>& hits) {
    PageText text = ExtractPageText(topic.html, codePage);
    hits.clear();
    IndexWord word;
    WordBreaker title(codePage, text.title, 0);
    while (title.Next(word)) hits.push_back({WordTable::Key(table.Intern(word.bytes), Context::kTitle), word.position});
    std::uint32_t bodyStart = title.nextPosition() == 0 ? 0 : title.nextPosition() + 1;
    WordBreaker body(codePage, text.body, bodyStart);
    while (body.Next(word)) hits.push_back({WordTable::Key(table.Intern(word.bytes), Context::kBody), word.position});
    table.AddDocument(topic.topicNumber, hits);
}

// Topics in ascending topic order, each topic number once (the first page
// given for a number wins).
std::vector<const SearchTopic*> OrderedTopics(const std::vector<SearchTopic>& topics) {
    std::vector<const SearchTopic*> ordered;
    ordered.reserve(topics.size());
    for (const SearchTopic& t : topics) ordered.push_back(&t);
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const SearchTopic* a, const SearchTopic* b) { return a->topicNumber < b->topicNumber; });
    ordered.erase(std::unique(ordered.begin(), ordered.end(),
                              [](const SearchTopic* a, const SearchTopic* b) {
                                  return a->topicNumber == b->topicNumber;
                              }),
                  ordered.end());
    return ordered;
}

}  // namespace

SearchFiles BuildSearchIndex(const std::vector<SearchTopic>& topics, std::uint32_t codePage, std::uint32_t lcid) {
    CodePage cp(codePage);
    WordTable table;
    std::vector<const SearchTopic*> ordered = OrderedTopics(topics);
    std::vector<WordHit> hits;
    for (const SearchTopic* topic : ordered) IndexPage(*topic, cp, table, hits);

    std::vector<std::uint32_t> words = table.SortedIds();
    HeaderFields header;
    for (std::uint32_t id : words) {
        for (Context context : {Context::kBody, Context::kTitle}) {
            const Postings& p = table.postings(id, context);
            if (!p.empty()) header.highestDocument = std::max(header.highestDocument, p.lastDocument());
        }
        header.longestWord = std::max<std::uint32_t>(header.longestWord, static_cast<std::uint32_t>(table.word(id).size()));
    }
    LocationRoots roots{table.documentDeltas().Best(), table.positionCounts().Best(), table.positionDeltas().Best()};

    // All blocks first, so that entry sizes are known when leaves are cut.
    std::string blocks;
    std::vector<std::size_t> blockEnds;
    std::vector<LeafEntry> entries;
    for (std::uint32_t id : words) {
        for (Context context : {Context::kBody, Context::kTitle}) {
            const Postings& p = table.postings(id, context);
            if (p.empty()) continue;
            AppendLocationCodes(p, roots, blocks);
            blockEnds.push_back(blocks.size());
            entries.push_back({table.word(id), static_cast<std::uint8_t>(context), p.documentCount(), {}});
        }
    }
    std::size_t blockStart = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        entries[i].locationCodes = std::string_view(blocks).substr(blockStart, blockEnds[i] - blockStart);
        blockStart = blockEnds[i];
    }

    SearchFiles files;
    files.fiftiMain.assign(kHeaderSize, '\0');
    files.fiftiMain.reserve(kHeaderSize + blocks.size() + (entries.size() / 200 + 2) * kNodeSize);
    TreeLayout layout = WriteTree(entries, files.fiftiMain);

    header.documentCount = static_cast<std::uint32_t>(ordered.size());
    header.rootOffset = layout.rootOffset;
    header.leafCount = layout.leafCount;
    header.depth = layout.depth;
    header.documentRoot = static_cast<std::uint8_t>(roots.document);
    header.countRoot = static_cast<std::uint8_t>(roots.count);
    header.locationRoot = static_cast<std::uint8_t>(roots.location);
    header.occurrences = table.occurrences();
    header.distinctWords = static_cast<std::uint32_t>(table.wordCount());
    header.occurrenceBytes = table.occurrenceBytes();
    header.entryWordBytes = layout.entryWordBytes;
    header.freeBytes = layout.freeBytes;
    header.codePage = codePage;
    header.lcid = lcid;
    WriteHeader(header, files.fiftiMain);

    files.objInst = BuildObjInst(codePage, lcid);
    return files;
}

}  // namespace hhc::fts
