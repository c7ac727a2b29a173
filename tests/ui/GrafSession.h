#pragma once

// A main window under test, with scripted dialogs, and the user's actions on it.
#include <QtCore>
#include <QtPrintSupport>
#include <QtTest>
#include <QtWidgets>
#include <functional>
#include <memory>
#include <optional>

#include "support/ScriptedDialogs.h"
#include "ui/Graf.h"
#include "ui/Startup.h"
#include "ui/controls/AsHyperBtn.h"
#include "ui/controls/AsPagePanel.h"

namespace grafsession {

using corvanta::DialogAnswer;
using corvanta::TAsHyperBtn;
using corvanta::TAsPagePanel;

inline const QString kSamples = QStringLiteral(CORVANTA_SOURCE_DIR "/samples/");

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

// The colour at `at` from the top left of a cell.
inline QColor Pixel(const QTableWidget* grid, int row, int column, QPoint at) {
    const QRect cell = grid->visualItemRect(grid->item(row, column));
    return grid->viewport()->grab().toImage().pixelColor(cell.topLeft() + at);
}

inline QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}
inline void Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Types into a cell: the first key opens the editor, the rest go to it, Return ends (if finish).
inline void TypeCell(QTableWidget& grid, int row, int column, const QString& text,
                     bool finish = true) {
    grid.setCurrentCell(row, column);
    QTest::keyClicks(&grid, text.left(1));
    QWidget* editor = grid.indexWidget(grid.currentIndex());
    if (!editor) return;
    QTest::keyClicks(editor, text.mid(1));
    if (!finish) return;
    QTest::keyClick(editor, Qt::Key_Return);
    QCoreApplication::processEvents();  // the editor hands its text over through a queued call
}

// Every dialog shown, as "Kind: text" (the texts are Windows-1252).
inline QStringList Logged(const corvanta::testing::ScriptedDialogs& dialogs) {
    QStringList shown;
    for (const auto& entry : dialogs.Log)
        shown << QString::fromLatin1(corvanta::testing::KindName(entry.Kind) + (": " + entry.Text));
    return shown;
}

// An unscripted question is answered Cancel and logged, not thrown from inside an event handler.
class AnsweringDialogs : public corvanta::testing::ScriptedDialogs {
  public:
    DialogAnswer ConfirmOkCancel(const std::string& text) override {
        if (Answers.empty()) Answers.push_back(DialogAnswer::Cancel);
        return ScriptedDialogs::ConfirmOkCancel(text);
    }
};

// A shown, active window with own language folder, units, settings; file dialogs scripted (Shown).
class Session {
  public:
    explicit Session(const QString& settings = {}) {
        Write(Folder.filePath("units.000"), "mg\r\ng\r\nkg\r\n");
        corvanta::GrafEnvironment environment;
        environment.LanguageFolder = Folder.path().toStdString();
        environment.UnitsFile = Path("units.000").toStdString();
        // Recent models and the last folder stay with the test.
        environment.SettingsFile =
            (settings.isEmpty() ? Path("settings.ini") : settings).toStdString();
        environment.GuideFile = CORVANTA_SOURCE_DIR "/docs/guide.md";
        Window = std::make_unique<corvanta::TGraf>(environment, &Dialogs);
        corvanta::GrafFileDialogs files;
        const auto next = [this](const char* kind, QStringList& script) {
            return [this, kind, &script]() -> std::optional<std::string> {
                Shown << kind;
                if (script.empty()) return std::nullopt;
                return QFile::encodeName(script.takeFirst()).toStdString();
            };
        };
        files.ChooseOpenPath = next("open", OpenPaths);
        files.ChooseSavePath = next("save", SavePaths);
        files.ChooseLanguagePath = next("language", LanguagePaths);
        files.ChoosePdfPath = next("pdf", PdfPaths);
        files.ChooseValuesPath = next("values", ValuesPaths);
        files.ChoosePrinter = [this](QPrinter& printer) {
            Shown << "print";
            if (PrinterPdf.isEmpty()) return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(PrinterPdf);
            return true;
        };
        Window->SetFileDialogs(files);
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
    QString Text(const QString& label) const { return Get<QLabel>(label)->text(); }
    QStringList Grid(const QString& name, int first, int last) const {
        return Rows(Get<QTableWidget>(name), first, last);
    }
    int Page() const { return Get<QStackedWidget>("PageControl1")->currentIndex(); }
    int Sheet() const { return Get<TAsPagePanel>("AsPagePanel1")->ActivePageIndex(); }
    QString Path(const QString& name) const { return Folder.filePath(name); }
    // The title as set: the platform shows "[*]" as its mark of changes.
    QString Caption() const { return Window->windowTitle(); }
    void Menu(const char* action) { Window->findChild<QAction*>(action)->trigger(); }
    void OpenFile(const QString& path) {
        OpenPaths.push_back(path);
        Menu("Abrir1");
    }
    // Opens a copy of a sample, made in the folder under `name`.
    QString OpenCopy(const QString& name, const QString& sample = "mass-calibration.cvm") {
        Write(Path(name), Bytes(kSamples + sample));
        OpenFile(Path(name));
        return Path(name);
    }
    // A file opened (if named), on the Simulation page, with a seed and a count.
    void ReadyToRun(const QString& file, int iterations = 100000, std::uint32_t seed = 7) {
        if (!file.isEmpty()) Window->OpenFileAtStart(file.toStdString());
        Window->SetRunSeed(seed);
        Click("AsHyperBtn4");
        Get<QSpinBox>("SpinEdit1")->setValue(iterations);
    }

    // QTest takes (0, 0) for "the centre".
    static void Click(QWidget* widget, QPoint at = {}) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
    void Click(const QString& name) { Click(Get(name)); }
    static void Press(QDialog& form, const char* button) {
        Click(form.findChild<QPushButton*>(button));
    }
    void ClickCell(int row, int column) {
        Click(Table()->viewport(), Table()->visualItemRect(Table()->item(row, column)).center());
    }

    // Types the model into the model box and presses "Update parameters".
    void Update(const QString& model) {
        Click("AsHyperBtn3");
        QStringList lines = model.split('\n');
        Type("Memo1", lines.takeFirst());
        for (const QString& line : lines)
            QTest::keyClick(Memo(), Qt::Key_Return), QTest::keyClicks(Memo(), line);
        Click("Button2");
    }

    // Opens the drop-down list and picks an item with the arrow keys.
    static void Pick(QComboBox* box, int item) {
        box->isEditable() ? QTest::keyClick(box, Qt::Key_F4) : Click(box);
        QWidget* view = box->view()->isVisible() ? static_cast<QWidget*>(box->view()) : box;
        QTest::keyClick(view, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(view, Qt::Key_Down);
        if (box->view()->isVisible()) QTest::keyClick(box->view(), Qt::Key_Return);
    }
    void Pick(const QString& box, int item) { Pick(Get<QComboBox>(box), item); }

    void Type(const QString& field, const QString& text) {
        Click(field);
        QTest::keyClick(Get(field), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(Get(field), text);
    }

    // Fills a distribution page (Edit1_, Edit2_, Edit3_, EditDegrees_) of a quantity, applies it.
    void Assign(int row, int page, const QStringList& fields) {
        ClickCell(row, 2);
        Pick(List(), page);
        for (QLineEdit* edit : PageWidget()->findChildren<QLineEdit*>()) {
            const int field = FieldOf(edit);
            if (field >= 0 && field < fields.size() && !fields[field].isEmpty())
                Type(edit->objectName(), fields[field]);
        }
        Click(PageWidget()->findChild<TAsHyperBtn*>());
    }
    static int FieldOf(const QLineEdit* edit) {
        const QString name = edit->objectName();
        if (name.startsWith("EditDegrees")) return 3;
        return name.startsWith("Edit") ? name.mid(4, 1).toInt() - 1 : -1;
    }
    QWidget* PageWidget() const { return Get<TAsPagePanel>("AsPagePanel1")->currentWidget(); }

    // "Distrib|Valor|a" of a record, and with b and Grados.
    QString Record(int index, bool whole = false) const {
        const auto& p = Window->Parameters().at(std::size_t(index));
        const QString record = QString("%1|%2|%3").arg(p.Distrib).arg(p.Valor.c_str(), p.a.c_str());
        return whole ? record + QString("|%1|%2").arg(p.b.c_str(), p.Grados.c_str()) : record;
    }
    QStringList Names() const { return Rows(Table(), 0, 0); }
    // Read inside the cell, clear of its text.
    QColor CellColour(int row, int column) const {
        const QRect cell = Table()->visualItemRect(Table()->item(row, column));
        return Pixel(Table(), row, column, {cell.width() - 4, (cell.height() - 1) / 2});
    }
    QStringList Log() const { return Logged(Dialogs); }

    // Drags a file over the window and drops it there if taken; whether it was.
    bool Drop(const QString& path) {
        QMimeData data;
        data.setUrls({QUrl::fromLocalFile(path)});
        QDragEnterEvent enter(QPoint(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(Window.get(), &enter);
        QDropEvent dropped(QPointF(50, 50), Qt::CopyAction, &data, Qt::LeftButton, {});
        if (enter.isAccepted()) QApplication::sendEvent(Window.get(), &dropped);
        return enter.isAccepted();
    }

    // Clicks `button`, runs `act` on the dialog it opens and cancels the dialog if still open.
    void WithDialog(const char* button, const std::function<void(QTableWidget&, QDialog&)>& act) {
        QTimer::singleShot(0, Window.get(), [act] {
            auto* form = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            act(*form->findChild<QTableWidget*>("StringGrid1"), *form);
            if (form->isVisible()) form->reject();
        });
        Click(button);
    }

    QTemporaryDir Folder;
    AnsweringDialogs Dialogs;
    QStringList OpenPaths, SavePaths, LanguagePaths, PdfPaths, ValuesPaths;
    QString PrinterPdf;
    QStringList Shown;
    std::unique_ptr<corvanta::TGraf> Window;
};

}  // namespace grafsession
