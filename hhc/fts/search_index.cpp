#include "fts/search_index.h"

#include <algorithm>
#include <memory>

#include "fts/btree_writer.h"
#include "fts/fti_header.h"
#include "fts/location_codes.h"
#include "fts/objinst.h"
#include "fts/page_words.h"
#include "fts/word_table.h"
#include "fts/workers.h"

namespace hhc::fts {
namespace {

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

// The words of every page, found on up to `threads` threads.
std::vector<PageWords> IndexPages(const std::vector<const SearchTopic*>& topics, std::uint32_t codePage,
                                  const StopList& stopList, unsigned threads, PageStatistics& statistics) {
    std::vector<PageWords> pages(topics.size());
    std::vector<PageStatistics> perThread(threads);
    RunTasks(topics.size(), threads, [&](unsigned thread) {
        return [&, thread, indexer = std::make_shared<PageIndexer>(codePage, &stopList)](std::size_t p) {
            pages[p] = indexer->Index(topics[p]->html, topics[p]->topicNumber, perThread[thread]);
        };
    });
    for (const PageStatistics& s : perThread) statistics.Add(s);
    return pages;
}

}  // namespace

SearchFiles BuildSearchIndex(const std::vector<SearchTopic>& topics, std::uint32_t codePage, std::uint32_t lcid,
                             unsigned threads, const StopList& stopList) {
    if (threads == 0) threads = DefaultThreadCount();
    std::vector<const SearchTopic*> ordered = OrderedTopics(topics);
    PageStatistics statistics;
    std::vector<PageWords> pages = IndexPages(ordered, codePage, stopList, threads, statistics);
    WordTable table;
    for (PageWords& page : pages) table.AddPage(page);

    LocationRoots roots{table.documentDeltas().Best(), statistics.positionCounts.Best(),
                        statistics.positionDeltas.Best()};
    // Entries in word order, a word's body entry before its title entry.
    std::vector<std::uint32_t> keys;
    std::vector<std::uint64_t> occurrences;
    HeaderFields header;
    for (std::uint32_t slot : table.SortedSlots()) {
        header.longestWord = std::max<std::uint32_t>(header.longestWord, static_cast<std::uint32_t>(table.word(slot).size()));
        for (Context context : {Context::kBody, Context::kTitle}) {
            std::uint32_t key = KeyOf(slot, context);
            if (table.documentCount(key) == 0) continue;
            keys.push_back(key);
            occurrences.push_back(table.occurrences(key));
        }
    }
    Blocks blocks = BuildBlocks(pages, keys, occurrences, table.keyLimit(), roots, threads);
    pages = {};

    std::vector<LeafEntry> entries;
    entries.reserve(keys.size());
    std::size_t blockStart = 0;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        std::string_view codes = std::string_view(blocks.bytes).substr(blockStart, blocks.ends[i] - blockStart);
        entries.push_back({table.word(SlotOf(keys[i])), static_cast<std::uint8_t>(ContextOf(keys[i])),
                           table.documentCount(keys[i]), codes});
        blockStart = blocks.ends[i];
    }

    SearchFiles files;
    files.fiftiMain.assign(kHeaderSize, '\0');
    files.fiftiMain.reserve(kHeaderSize + blocks.bytes.size() + (entries.size() / 200 + 2) * kNodeSize);
    TreeLayout layout = WriteTree(entries, files.fiftiMain);

    header.highestDocument = table.highestDocument();
    header.documentCount = static_cast<std::uint32_t>(ordered.size());
    header.rootOffset = layout.rootOffset;
    header.leafCount = layout.leafCount;
    header.depth = layout.depth;
    header.documentRoot = static_cast<std::uint8_t>(roots.document);
    header.countRoot = static_cast<std::uint8_t>(roots.count);
    header.locationRoot = static_cast<std::uint8_t>(roots.location);
    header.occurrences = statistics.occurrences;
    header.distinctWords = static_cast<std::uint32_t>(table.wordCount());
    header.occurrenceBytes = statistics.occurrenceBytes;
    header.entryWordBytes = layout.entryWordBytes;
    header.freeBytes = layout.freeBytes;
    header.codePage = codePage;
    header.lcid = lcid;
    WriteHeader(header, files.fiftiMain);

    files.objInst = BuildObjInst(codePage, lcid);
    return files;
}

}  // namespace hhc::fts
