#include "sheets/sheetmain.h"

#include <QFile>
#include <QGuiApplication>
#include <QSaveFile>

#include <filesystem>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/kaifont.h"
#include "settings/datafiles.h"
#include "sheets/sheetcommand.h"
#include "sheets/sheetpainter.h"

namespace quvo {
namespace {

std::string CompiledPinyinTable() {
    QFile table(QStringLiteral(":/txt/pinyin.txt"));
    return table.open(QIODevice::ReadOnly) ? table.readAll().toStdString() : std::string();
}

// What a sheet is made from: the store, the font, the books and the pinyin table.
void CheckProgramFolder(const std::string& pinyinTable) {
    if (const auto fault = CheckCharacterData(".", pinyinTable)) {
        std::string where = DataFaultMessage(*fault);
        where += fault->kind == DataFault::kMissing ? " (run quvo in its program folder)" : "";
        throw std::invalid_argument(where);
    }
}

// The sheet's characters, or the message of what is wrong with the arguments.
std::vector<SheetSection> Gather(const SheetCommand& command) {
    const std::string pinyinTable = CompiledPinyinTable();
    CheckProgramFolder(pinyinTable);
    const CharacterLibrary library(".", pinyinTable);
    std::vector<std::string> warnings;
    std::vector<SheetSection> sections = GatherSheet(command, library, warnings);
    for (const std::string& warning : warnings) {
        std::cerr << "quvo: " << warning << "\n";
    }
    return sections;
}

int CannotWrite(const SheetCommand& command, const QSaveFile& file) {
    std::cerr << "quvo: cannot write " << command.output << ": " << file.errorString().toStdString()
              << "\n";
    return kSheetNotWritten;
}

int Write(const SheetCommand& command, const std::vector<SheetSection>& sections) {
    QSaveFile file(QFile::decodeName(command.output.c_str()));
    if (!file.open(QIODevice::WriteOnly)) {
        return CannotWrite(command, file);
    }
    // Fonts need a GUI application, not a display: without a platform named, none is asked for.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    int argc = 1;
    char name[] = "quvo";
    char* argv[] = {name, nullptr};
    QGuiApplication application(argc, argv);
    RegisterKaiFont(QStringLiteral("fonts/quvokai.ttf"));
    if (!WriteSheetPdf(file, command.paper, sections) || !file.commit()) {
        return CannotWrite(command, file);
    }
    std::cout << "quvo: wrote " << command.output << "\n";
    return 0;
}

}  // namespace

int RunSheetCommand(int argc, char** argv) {
    SheetCommand command;
    std::vector<SheetSection> sections;
    try {
        command = ParseSheetCommand(std::vector<std::string>(argv + 1, argv + argc));
        if (command.help) {
            std::cout << kSheetUsage;
            return 0;
        }
        sections = Gather(command);
    } catch (const std::invalid_argument& error) {
        std::cerr << "quvo: " << error.what() << "\n" << kSheetUsage;
        return kSheetBadArguments;
    }
    return Write(command, sections);
}

}  // namespace quvo
