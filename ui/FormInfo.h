#pragma once

#include <QDialog>

namespace corvanta {

// The about box: the product, its edition and version, what it does.
class TFormInfo : public QDialog {
    Q_OBJECT
  public:
    explicit TFormInfo(QWidget* parent = nullptr);
};

// The edition named in the about box.
inline constexpr const char* kEditionName = "Torvo";

}  // namespace corvanta
