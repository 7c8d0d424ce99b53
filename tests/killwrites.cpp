#include "killwrites.h"

#include <algorithm>
#include <vector>

namespace quvo::test::killwrites {

namespace {

constexpr int kBooks = 3;

std::string BookPath(int book) {
    return "book/k" + std::to_string(book) + ".txt";
}

}  // namespace

SettingsRecord SettingsFor(int g) {
    const std::string n = std::to_string(g);
    SettingsRecord r;
    std::int32_t* switches[] = {&r.showUnderlay,    &r.showSample,  &r.showGrid,
                                &r.hints,           &r.strokeCheck, &r.demoBeforeAssembling,
                                &r.backgroundMusic, &r.showPinyin};
    for (int bit = 0; bit < 8; ++bit) {
        *switches[bit] = (g >> bit) & 1;
    }
    r.themePath = "theme/" + n + ".bmp";
    r.musicPath = "bmusic/start" + n + ".mp3";
    r.rightCuePath = "bmusic/right" + n + ".mp3";
    r.errorCuePath = "bmusic/error" + n + ".mp3";
    r.bookPath = "book/" + n + ".txt";
    r.demoSpeed = kMinDemoSpeed + g % (kMaxDemoSpeed - kMinDemoSpeed + 1);
    r.demoMode = g % 2;
    return r;
}

ProgressRecord ProgressFor(int g) {
    return {BookPath(g % kBooks), g};
}

std::string ProgressFileFor(int g) {
    // Books stay in the order of their first save: 1, 2, 0.
    std::string file;
    for (int first = 1; first <= std::min(g, kBooks); ++first) {
        int last = first;
        while (last + kBooks <= g) {
            last += kBooks;
        }
        const ProgressBytes bytes = EncodeProgress(ProgressFor(last));
        file.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    }
    return file;
}

StoredResult ResultFor(int g) {
    RoundResult round;
    round.character = kCharacter;
    round.right = g % 2 == 0;
    round.wrongPositions = round.right ? std::vector<int>{} : std::vector<int>{1};
    round.strokeCount = 1;
    round.pageCharacters = kCharacter;
    return {kClient, g, "", round};
}

}  // namespace quvo::test::killwrites
