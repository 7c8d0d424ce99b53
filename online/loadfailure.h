#pragma once

namespace quvo {

// How a page load of the web panel ended, as far as the panel cares.
enum class LoadFailure {
    kNone,         // loaded
    kReplaced,     // stopped because another address was asked for
    kUnreachable,  // connection refused, host not found, no network
    kNotFound,     // the server answered 404
    kOther,        // any other error: the browser's own error page stays
};

// A server page that cannot be reached or is not there gives way to the local start page;
// the local start page itself never does, so a missing first.htm cannot start a loop.
constexpr bool ShowsLocalStartPage(LoadFailure failure, bool failedPageIsLocal) {
    return !failedPageIsLocal && (failure == LoadFailure::kUnreachable || failure == LoadFailure::kNotFound);
}

}  // namespace quvo
