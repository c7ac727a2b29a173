#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Readings.h"

class QPushButton;
class QKeyEvent;

namespace corvanta {

class DialogGrid;

// The observations dialog: a grid of readings, one row per observation, whose
// value columns depend on how each observation is obtained. It edits a copy
// of the quantity's observation text and hands the new text back on Ok; the
// quantity itself changes only when the user applies it.
class TFormValores : public QDialog {
    Q_OBJECT

  public:
    explicit TFormValores(UserDialogs& dialogs, QWidget* parent = nullptr);

    // The message texts in force; the cell check reads NotReal from them.
    void SetMessages(const MessageTexts& messages);

    // Shows the grid for `mode` with `rows` observations, filled from
    // `memoValues` when that text was written in the same mode, and waits for
    // the user. Returns the observation text built from the grid on Ok, or
    // nothing on Cancel or when the dialog is closed.
    std::optional<std::string> Edit(ReadingMode mode, int rows, const std::string& quantityName,
                                    const std::string& memoValues);

  private:
    void FormShow(int rows, const std::string& quantityName, const std::string& memoValues);
    void Button2Click();
    void Button1Click();
    void StringGrid1Click();
    bool StringGrid1KeyDown(const QKeyEvent& event);
    void CopySelection() const;
    void PasteAtCurrentCell();
    void ShowCells(const std::vector<std::vector<std::string>>& cells);
    std::vector<std::vector<std::string>> ValueCells() const;

    UserDialogs& dialogs_;
    MessageTexts messages_;
    ReadingMode mode_ = ReadingMode::Directa;
    std::optional<std::string> result_;

    DialogGrid* grid_;
    QPushButton* button2_;
    QPushButton* button1_;
};

}  // namespace corvanta
