#include "ui/FormInfo.h"

#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/TextBridge.h"
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
    Version = new QLabel(this);
    Version->setObjectName("LabelVersion");
    Licence = new QLabel(this);
    Licence->setObjectName("LabelLicence");
    Libraries = new QLabel(this);
    Libraries->setObjectName("LabelLibraries");
    Libraries->setWordWrap(true);
    auto* about = new QLabel(
        QStringLiteral("Evaluation of measurement uncertainty by the Monte Carlo method."), this);
    about->setObjectName("LabelDescription");
    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName("ButtonOk");
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    layout->addWidget(name);
    layout->addWidget(Version);
    layout->addWidget(about);
    layout->addWidget(Licence);
    layout->addWidget(Libraries);
    layout->addSpacing(6);
    layout->addWidget(ok, 0, Qt::AlignRight);
    SetTexts(FormMessageTexts(CaptionTable::BuiltIn()).Window);
}

void TFormInfo::SetTexts(const WindowTexts& texts) {
    setWindowTitle(ToQt(texts.About));
    Version->setText(ToQt(texts.Version) +
                     QStringLiteral(": %1 (%2)").arg(CORVANTA_VERSION, kEditionName));
    Licence->setText(ToQt(texts.Licence) +
                     QStringLiteral(": GNU General Public License, version 3 or later"));
    // The run-time version: the one the program is running with.
    Libraries->setText(ToQt(texts.Libraries) +
                       QStringLiteral(": Qt %1 (Core, Gui, Widgets, PrintSupport), "
                                      "the GNU C++ standard library")
                           .arg(QString::fromLatin1(qVersion())));
    Libraries->setFixedWidth(300);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    adjustSize();
    setFixedSize(sizeHint());
}

}  // namespace corvanta
