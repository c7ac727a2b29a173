#pragma once

#include <QDialog>

#include "captions/Captions.h"

class QLabel;

namespace corvanta {

// The about box: the product, its edition and version, what it does, its
// licence and the libraries it is built on.
class TFormInfo : public QDialog {
    Q_OBJECT
  public:
    explicit TFormInfo(QWidget* parent = nullptr);

    // The captions in force for its lines and title.
    void SetTexts(const WindowTexts& texts);

  private:
    QLabel* Version;
    QLabel* Licence;
    QLabel* Libraries;
};

// The edition named in the about box.
inline constexpr const char* kEditionName = "Torvo";

}  // namespace corvanta
