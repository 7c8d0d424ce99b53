#pragma once

#include <QString>

#include <memory>
#include <vector>

#include "controls/messagebox.h"
#include "testfiles.h"

class CQuvoDlg;

namespace quvo::test {

// A temporary program folder, current for the life of the object, holding links to the real
// program folder's stroke font and (unless a test brings its own) character store. Message
// boxes are answered OK and collected instead of shown.
class ProgramFolder : public TempFolder {
public:
    enum Store { kRealStore, kOwnStore };

    explicit ProgramFolder(std::vector<MessageBoxCall>* boxes, Store store = kRealStore);
    ~ProgramFolder();

private:
    QString m_oldCurrent;
};

// The main dialog created, initialised and shown, as the program starts it; with `exposed`,
// also waited for until the window system shows it.
std::unique_ptr<CQuvoDlg> StartDialog(bool exposed = false);

}  // namespace quvo::test
