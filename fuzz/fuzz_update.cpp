// The update check's reply, all the way: the server sends the first bytes of its update.txt
// (the fuzzer's bytes), the program's worker cuts and reads the reply, decides whether the
// version is newer and hands its normalised text to the dialog, which reads it again and
// works out where the updater lies.
#include "fuzz/fuzzsupport.h"
#include "online/updateinfo.h"
#include "online/updatereply.h"

using quvo::fuzz::Check;

namespace {

constexpr char kRunning[] = "6.0";

bool HoldsTags(const quvo::UpdateInfo& info) {
    for (const std::string* content : {&info.ver, &info.web, &info.username, &info.password,
                                       &info.path, &info.update, &info.sha256}) {
        if (content->find('<') != std::string::npos) {
            return true;
        }
    }
    return false;
}

std::string Trimmed(std::string text) {
    constexpr char kSpace[] = " \t\r\n\v\f";
    text.erase(0, text.find_first_not_of(kSpace));
    text.erase(text.find_last_not_of(kSpace) + 1);
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string file =
        quvo::fuzz::PutScratchFile("update.txt", quvo::fuzz::AsText(data, size));
    const std::string sent = quvo::UpdateReply(file, kRunning);
    Check(!sent.empty() && sent.size() <= quvo::kReplyLimit,
          "the server sends a reply the program reads whole");

    const std::string reply = quvo::CutReply(sent);
    const auto worker = quvo::ParseUpdateReply(reply, quvo::TrimTags::kVersionAndUpdate);
    if (!worker || !quvo::IsNewerVersion(worker->ver, kRunning)) {
        return 0;
    }
    const std::string handed = quvo::NormalisedReply(*worker);
    const auto dialog = quvo::ParseUpdateReply(handed, quvo::TrimTags::kAll);
    Check(dialog.has_value(), "the dialog reads the reply the worker hands it");
    Check(dialog->ver == worker->ver, "the dialog offers the version the worker found newer");
    // The normalised text is read again by the same rule. Two things read differently, both
    // by that rule: a content that itself holds a tag (the first "<update>" of the text then
    // lies inside <path>, say), and one trimmed down to a single byte, which the second
    // reading ignores.
    if (!HoldsTags(*worker) && Trimmed(worker->update).size() != 1 &&
        Trimmed(worker->path).size() != 1) {
        Check(dialog->update == worker->update && dialog->path == Trimmed(worker->path),
              "the dialog fetches the updater the worker read");
    }
    (void)quvo::RemoteFile(*dialog);
    return 0;
}
