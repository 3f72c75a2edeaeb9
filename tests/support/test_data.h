#pragma once
// Where the tests find real sample files.
//
// tests/data holds the files whose licences let them travel with the sources, so every
// clone has them. The shared corpus (KADREL_CORPUS_DIR, normally ../shared/corpus) holds
// the rest: files under GPL/LGPL or without a licence, and the largest archives. A test
// that needs it calls RequireCorpus() or DataFile() and returns when they say no: on a
// clone without the corpus the test is skipped with a notice naming the folder, and
// where CI is "true" it fails instead, since CI always has the corpus.

#include <string>
#include <string_view>

namespace kadrel::test {

// tests/data, ending in "/".
const std::string& TestDataDir();
// The shared corpus folder, ending in "/"; it may be absent.
const std::string& CorpusDir();
bool CorpusPresent();

// True when the shared corpus is here. Otherwise records the skip (or, under CI, the
// failure) for the running test and returns false; the caller then returns.
bool RequireCorpus();

// A sample file by its path relative to either folder: the copy in tests/data when there
// is one, else the shared corpus's. Returns "" after recording a skip or failure when the
// file cannot be had: the corpus is absent (as RequireCorpus), or neither folder holds it
// (always a failure: a misspelt name must not pass quietly).
std::string DataFile(std::string_view relative);

}  // namespace kadrel::test
