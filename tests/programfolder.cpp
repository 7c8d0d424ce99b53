#include "programfolder.h"

#include <QDir>
#include <QTest>

#include "app/quvodlg.h"
#include "controls/modal.h"
#include "online/webpanel.h"

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
    SetModalHook([](QDialog&) { return 0; });  // the start-up help and the credits end at once
    SetWebPanelEngine(false);  // the web panel records its pages; its own tests browse
}

ProgramFolder::~ProgramFolder() {
    SetMessageBoxHook({});
    SetModalHook({});
    SetWebPanelEngine(true);
    QDir::setCurrent(m_oldCurrent);
}

std::unique_ptr<CQuvoDlg> StartDialog(bool exposed) {
    auto dlg = std::make_unique<CQuvoDlg>();
    dlg->OnCreate();
    dlg->OnInitDialog();
    dlg->show();
    if (exposed && !QTest::qWaitForWindowExposed(dlg.get())) {
        qWarning("dialog not exposed");
    }
    return dlg;
}

}  // namespace quvo::test
