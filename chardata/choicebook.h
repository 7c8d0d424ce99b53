#pragma once

#include <QDialog>

#include <string>

class QTableWidget;

// The dialog "选择课本": the textbooks of the program folder's book folder in a list, one
// of which the user chooses with "选定".
class CChoiceBook : public QDialog {
    Q_OBJECT

public:
    explicit CChoiceBook(QWidget* parent = nullptr);

    // The program folder (GBK), before the dialog is shown.
    void SetProgramFolder(const std::string& folder) { m_folder = folder; }
    bool OnInitDialog();
    // The chosen textbook's full path (GBK), once the dialog ended with OK.
    const std::string& ChosenPath() const { return m_chosenPath; }

    QTableWidget* List() const { return m_list; }

    int exec() override;
    // "选定": takes the selected textbook, or asks for one when none is selected.
    void accept() override;

private:
    void SetUpList();
    void FillList();

    std::string m_folder;
    QTableWidget* m_list = nullptr;
    std::string m_chosenPath;
    bool m_initialised = false;
};
