#pragma once

#include "main/background_run.h"

#include "session/folder_session.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

class QMenu;
class QPoint;
class QTableView;
class QWidget;

namespace velmorandi {

class InputHold;
class JournalStore;
class RenameGridModel;

// The folder session as the rename grid shows it. Loads and runs work off the
// window's thread with the window's input held back; the grid is reset around
// every change of rows, keeping the user's place, and after a run the current
// row follows its file. Ctrl+Z, Ctrl+Y and the grid's menu go through the
// edits, then undo and redo the last rename on disk; F8 goes through the rows
// whose edited names Rename would refuse; Delete and Insert leave rows out of
// the rename and put them back. Closing during a run
// cancels it, and the program ends once its names are back.
class GridSession : public QObject {
    Q_OBJECT
  public:
    struct Hooks {
        std::function<void(const QString& message)> say; // shown modally
        std::function<void()> freed;                     // a piece of work has ended
    };
    struct Controls {
        QTableView* grid;
        RenameGridModel* model;
        QWidget* warning; // shows while a protected file is listed
        // The window's controls that keep working while a run holds its input.
        std::vector<QWidget*> free;
    };
    GridSession(FolderSession& session, QWidget* window, Controls controls,
                const JournalStore& records, Hooks hooks);

    bool isRunning() const { return m_run->isRunning(); }
    // Cancels a run and ends the program when it is over; false when none runs.
    bool endAfterRun();
    bool ending() const { return m_ending; }
    bool inProgramFolder() const { return m_session.programFolder(); }
    void setTesting(RunTesting testing) { m_run->setTesting(std::move(testing)); }

    RecoveryReport recoverInterruptedRuns();
    // The user had the unmarked placeholder of `note` removed.
    RecoveryReport removeUnmarkedAndRecover(const RecoveryNote& note);
    // The folder's sub-folders, from the same read as its files; nothing when
    // it cannot be read, and then the rows, the edits and the grid stay.
    std::optional<std::vector<std::string>> load(const std::string& folder);
    void showEdits(bool changed);
    void rename();
    void takeBack();
    void makeAgain();
    // Rows in another order, as one edit; the sizes and times it may need are
    // read off the window's thread.
    void orderRows(RowOrder order);
    // The row becomes the current one, in the current column (else the names').
    void makeCurrent(std::optional<std::size_t> row, bool centred);

  private:
    template <class Work>
    auto inBackground(BackgroundRun::Kind kind, Work&& work, std::size_t files = 0);
    void runOnDisk(FolderSession::Run run);
    void fitColumnsToLayout();
    void undoKey();
    void redoKey();
    void showMenu(const QPoint& position);
    // Delete and Insert: the selected rows (else the current one) left out of
    // the rename, or put back.
    void leaveOutSelected(bool out);
    std::vector<std::size_t> selectedRows() const;
    void offerLeaveOut(QMenu& menu);
    void showOrder();
    bool nameTyped(std::size_t row, const QString& name);
    // F8 and Shift+F8: the next or previous row Rename would refuse.
    void goToMark(bool backward);

    FolderSession& m_session;
    QTableView* m_grid;
    RenameGridModel* m_model;
    QWidget* m_warning;
    Hooks m_hooks;
    BackgroundRun* m_run;
    InputHold* m_inputHold;
    bool m_ending = false;
    std::array<int, 4> m_layoutWidths{};
    std::array<bool, 4> m_fitted{}; // fitted by a double-click on its header's edge or a key
};

} // namespace velmorandi
