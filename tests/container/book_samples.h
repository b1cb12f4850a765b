#pragma once
// File sets the container tests build books from.
#include <cstddef>
#include <string>
#include <vector>

#include "container/itsf_writer.h"
#include "test_data.h"
#include "test_support/test_files.h"

namespace container_test {

using hhc::container::InternalFile;
using hhc::container::Section;
using test_data::CorpusText;
using test_data::RandomBytes;
using test_data::RepetitiveText;

// A minimal "/#SYSTEM" (version 3, no records) in section 0.
InternalFile SystemFile();

// `count` pages named prefix + zero-padded number + ".htm", with short text.
std::vector<InternalFile> NumberedPages(std::size_t count, const std::string& prefix);

// The files a book built from `files` holds, as readers extract them: the
// given ones (folder entries left out) plus the empty "/#ITBITS" the
// container adds.
test_support::BookFiles ExpectedFrom(const std::vector<InternalFile>& files);

}  // namespace container_test
