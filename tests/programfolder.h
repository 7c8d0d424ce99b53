#pragma once

#include <QString>

#include <vector>

#include "controls/messagebox.h"
#include "testfiles.h"

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

}  // namespace quvo::test
