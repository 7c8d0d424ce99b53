#include "programfolder.h"

#include <QDir>

namespace quvo::test {

ProgramFolder::ProgramFolder(std::vector<MessageBoxCall>* boxes, Store store)
    : m_oldCurrent(QDir::currentPath()) {
    QDir::setCurrent(QString::fromStdString(Path().string()));
    LinkProgramFile(QUVO_PROGRAM_DIR, Path(), "fonts/quvokai.ttf");
    if (store == kRealStore) {
        LinkProgramFile(QUVO_PROGRAM_DIR, Path(), "hz.db");
    }
    boxes->clear();
    SetMessageBoxHook([boxes](const MessageBoxCall& call) {
        boxes->push_back(call);
        return 1;
    });
}

ProgramFolder::~ProgramFolder() {
    SetMessageBoxHook({});
    QDir::setCurrent(m_oldCurrent);
}

}  // namespace quvo::test
