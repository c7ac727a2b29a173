#include "ui/FormInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/WindowDialogs.h"

namespace corvanta {

TFormInfo::TFormInfo(QWidget* parent) : QDialog(parent) {
    setObjectName("FormInfo");
    setWindowTitle(QStringLiteral("Info"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(18, 14, 18, 12);
    layout->setSpacing(6);

    auto* name = new QLabel(QString::fromLatin1(kApplicationTitle), this);
    name->setObjectName("LabelProduct");
    QFont big = name->font();
    big.setPointSizeF(big.pointSizeF() * 1.8);
    big.setBold(true);
    name->setFont(big);
    auto* edition = new QLabel(
        QStringLiteral("Edition %1, version %2").arg(kEditionName, CORVANTA_VERSION), this);
    edition->setObjectName("LabelVersion");
    auto* about = new QLabel(
        QStringLiteral("Evaluation of measurement uncertainty by the Monte Carlo method."), this);
    about->setObjectName("LabelDescription");
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("ButtonOk");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    layout->addWidget(name);
    layout->addWidget(edition);
    layout->addWidget(about);
    layout->addSpacing(6);
    layout->addWidget(ok, 0, Qt::AlignRight);
    setFixedSize(sizeHint());
}

}  // namespace corvanta
