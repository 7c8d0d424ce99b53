// The progress file "xxjd.cfg": the program looks up the book it opens and saves the page it
// reached when it ends. The file is the fuzzer's; the book looked up and saved is the one of
// the file's first record (when it has one) or a book of the program folder.
#include <cstring>

#include "fuzz/fuzzsupport.h"
#include "settings/atomicfile.h"
#include "settings/progressfile.h"

using quvo::fuzz::Check;

namespace {

constexpr std::size_t kRecord = quvo::kProgressRecordSize;

// The book saved: a path that fits a record, taken from the file when it has a whole record.
std::string BookToSave(std::string_view bytes) {
    if (bytes.size() >= kRecord) {
        std::string first =
            quvo::DecodeProgress(reinterpret_cast<const std::uint8_t*>(bytes.data())).bookPath;
        if (!first.empty() && bytes.size() % 2 == 0) {
            return first;
        }
    }
    return "book/fuzz.txt";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes = quvo::fuzz::AsText(data, size);
    const std::string file = quvo::fuzz::PutScratchFile(quvo::kProgressFileName, bytes);
    quvo::ProgressFile progress(file);
    const std::string book = BookToSave(bytes);
    quvo::ProgressRecord query{book, 0};
    const bool known = progress.LookUp(query) == 1;

    const std::int32_t position = known ? query.position ^ 1 : static_cast<std::int32_t>(size);
    const int saved = progress.Save({book, position});
    Check(saved == (known ? 1 : -1), "a book found is replaced, any other appended");

    const auto after = quvo::ReadFileHead(file, size + 2 * kRecord);
    Check(after.has_value() && after->size() % kRecord == 0, "the saved file holds whole records");
    const std::size_t wholeBefore = size - size % kRecord;
    Check(after->size() == wholeBefore + (known ? 0 : kRecord),
          "one record more for a new book, else as many");
    quvo::ProgressRecord again{book, 0};
    Check(progress.LookUp(again) == 1 && again.position == position, "the saved position is found");
    // Every other record keeps its bytes.
    std::size_t changed = 0;
    for (std::size_t at = 0; at < wholeBefore; at += kRecord) {
        changed += std::memcmp(after->data() + at, bytes.data() + at, kRecord) != 0 ? 1 : 0;
    }
    Check(changed <= (known ? 1u : 0u), "saving one book leaves the others as they were");
    return 0;
}
