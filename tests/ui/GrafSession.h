#pragma once

// A main window under test: its own language folder and units list, recorded
// dialogs, and the user's actions on it.
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "support/ScriptedDialogs.h"
#include "ui/Graf.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"

namespace grafsession {

using corvanta::DialogAnswer;
using corvanta::TAsHyperBtn;

// The cells of columns first to last of every row, joined by "|".
inline QStringList Rows(const QTableWidget* grid, int first, int last) {
    QStringList rows;
    for (int row = 0; row < grid->rowCount(); ++row) {
        QStringList cells;
        for (int column = first; column <= last; ++column)
            cells << grid->item(row, column)->text();
        rows << cells.join('|');
    }
    return rows;
}

// Records like its base, but a question nobody scripted is answered Cancel
// and stays in the log for the test to judge, instead of an exception that
// would end the whole run from inside an event handler.
class AnsweringDialogs : public corvanta::testing::ScriptedDialogs {
  public:
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        if (Answers.empty()) Answers.push_back(DialogAnswer::Cancel);
        return ScriptedDialogs::ConfirmOkCancel(text);
    }
};

// A fresh window with its own language folder, units list and recorded
// dialogs, shown and active so that clicks move the focus as for a user.
class Session {
  public:
    Session() {
        QFile units(Folder.filePath("units.000"));
        units.open(QIODevice::WriteOnly);
        units.write("mg\r\ng\r\nkg\r\n");
        units.close();
        corvanta::GrafEnvironment environment;
        environment.LanguageFolder = Folder.path().toStdString();
        environment.UnitsFile = units.fileName().toStdString();
        // Recent models and the last folder stay with the test.
        environment.SettingsFile = Folder.filePath("settings.ini").toStdString();
        environment.GuideFile = CORVANTA_SOURCE_DIR "/docs/guide.md";
        Window = std::make_unique<corvanta::TGraf>(environment, &Dialogs);
        Window->show();
        if (!QTest::qWaitForWindowExposed(Window.get())) qFatal("window not exposed");
        QApplication::setActiveWindow(Window.get());
    }

    template <class T = QWidget>
    T* Get(const QString& name) const {
        T* widget = Window->findChild<T*>(name);
        if (!widget) qFatal("no control %s", qPrintable(name));
        return widget;
    }
    QTableWidget* Table() const { return Get<QTableWidget>("AsStringGrid2"); }
    QComboBox* List() const { return Get<QComboBox>("ComboBox2"); }
    QPlainTextEdit* Memo() const { return Get<QPlainTextEdit>("Memo1"); }
    int Page() const { return Get<QStackedWidget>("PageControl1")->currentIndex(); }
    int Sheet() const { return Get<corvanta::TAsPagePanel>("AsPagePanel1")->ActivePageIndex(); }

    // QTest takes (0, 0) for "the centre".
    static void Click(QWidget* widget, QPoint at = {}) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
    void Click(const QString& name) { Click(Get(name)); }
    void ClickCell(int row, int column) {
        Click(Table()->viewport(), Table()->visualItemRect(Table()->item(row, column)).center());
    }

    // Types the model into the model box and presses "Update parameters".
    void Update(const QString& model) {
        Click("AsHyperBtn3");
        Click("Memo1");
        QTest::keyClick(Memo(), Qt::Key_A, Qt::ControlModifier);
        QStringList lines = model.split('\n');
        QTest::keyClicks(Memo(), lines.takeFirst());
        for (const QString& line : lines) {
            QTest::keyClick(Memo(), Qt::Key_Return);
            QTest::keyClicks(Memo(), line);
        }
        Click("Button2");
    }

    // Opens the drop-down list and picks an item with the arrow keys.
    static void Pick(QComboBox* box, int item) {
        if (box->isEditable())
            QTest::keyClick(box, Qt::Key_F4);
        else
            Click(box);
        QWidget* view = box->view()->isVisible() ? static_cast<QWidget*>(box->view()) : box;
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        if (box->view()->isVisible()) QTest::keyClick(box->view(), Qt::Key_Return);
    }

    void Type(const QString& field, const QString& text) {
        Click(field);
        QTest::keyClick(Get(field), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Get(field), text);
    }

    // Fills one distribution page of the selected quantity and applies it.
    void Assign(int row, int page, const QStringList& fields) {
        ClickCell(row, 2);
        Pick(List(), page);
        QWidget* sheet = Get<corvanta::TAsPagePanel>("AsPagePanel1")->currentWidget();
        const QList<QLineEdit*> edits = sheet->findChildren<QLineEdit*>();
        for (int i = 0; i < edits.size() && i < fields.size(); ++i)
            if (!fields[i].isEmpty()) Type(edits[i]->objectName(), fields[i]);
        Click(sheet->findChild<TAsHyperBtn*>());
    }

    // "Distrib|Valor|a" of a record.
    QString Record(int index) const {
        const auto& p = Window->Parameters().at(std::size_t(index));
        return QString("%1|%2|%3").arg(p.Distrib).arg(p.Valor.c_str(), p.a.c_str());
    }
    QStringList Names() const { return Rows(Table(), 0, 0); }
    // Read inside the cell, clear of its text.
    QColor CellColour(int row, int column) const {
        const QImage image = Table()->viewport()->grab().toImage();
        const QRect cell = Table()->visualItemRect(Table()->item(row, column));
        return image.pixelColor(QPoint(cell.right() - 3, cell.center().y()));
    }
    // Every dialog shown, as "Kind: text" (the texts are Windows-1252).
    QStringList Log() const {
        static const char* const kinds[] = {"Message",
                                            "Error",
                                            "Information",
                                            "ConfirmOkCancel",
                                            "ConfirmYesNoCancel",
                                            "ConfirmSaveDiscardCancel"};
        QStringList shown;
        for (const auto& entry : Dialogs.Log)
            shown << kinds[int(entry.Kind)] + QString(": ") + QString::fromLatin1(entry.Text);
        return shown;
    }

    QTemporaryDir Folder;
    AnsweringDialogs Dialogs;
    std::unique_ptr<corvanta::TGraf> Window;
};

}  // namespace grafsession
