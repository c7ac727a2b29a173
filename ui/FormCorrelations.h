#pragma once

#include <QDialog>
#include <optional>
#include <string>
#include <vector>

#include "captions/Captions.h"
#include "captions/UserDialogs.h"
#include "distributions/Correlations.h"

class QPushButton;
class QKeyEvent;

namespace corvanta {

class DialogGrid;

// The correlations dialog: the input quantities as rows and columns, the
// coefficients above the diagonal to edit, the diagonal 1 and the lower half
// mirroring the upper. It edits a copy; the model's coefficients change only
// when Ok finds the whole matrix sound.
class TFormCorrelations : public QDialog {
    Q_OBJECT

  public:
    explicit TFormCorrelations(UserDialogs& dialogs, QWidget* parent = nullptr);

    void SetTexts(const CaptionTable& captions, const MessageTexts& messages);

    // Shows the matrix of the input quantities of `parameters` filled from
    // `list` and waits for the user. Returns the coefficients on Ok, nothing
    // on Cancel or when the dialog is closed.
    std::optional<CorrelationList> Edit(const ParameterList& parameters,
                                        const CorrelationList& list);

  private:
    void Button2Click();
    void Button3Click();
    bool StringGrid1KeyDown(const QKeyEvent& event);
    void Mirror(int row, int column);
    void Fill(const CorrelationList& list);
    std::string MatrixText() const;
    void Refuse(const std::string& why);

    UserDialogs& dialogs_;
    MessageTexts messages_;
    ParameterList parameters_;
    std::vector<std::string> names_;
    std::optional<CorrelationList> result_;

    DialogGrid* grid_;
    QPushButton* button3_;
    QPushButton* button2_;
    QPushButton* button1_;
};

}  // namespace corvanta
