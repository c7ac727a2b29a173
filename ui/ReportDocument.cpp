#include "ui/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextTable>
#include <QUrl>
#include <cmath>

#include "ui/TextBridge.h"

namespace corvanta {

namespace {

const QString kPictureName = QStringLiteral("corvanta-chart.png");

QTextCharFormat LineFormat(const QFont& base, const ReportLine& line, bool bold) {
    QTextCharFormat format;
    QFont font = base;
    font.setPointSizeF(base.pointSizeF() + line.SizeStep);
    font.setBold(bold);
    font.setItalic(line.Italic);
    format.setFont(font);
    return format;
}

// Rows first .. last - 1 of the lines as one table.
void InsertTable(QTextCursor& cursor, const std::vector<ReportLine>& lines, std::size_t first,
                 std::size_t last, const QFont& base) {
    const int columns = int(lines[first].Cells.size());
    QTextTableFormat format;
    format.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    format.setBorder(0.5);
    format.setBorderBrush(Qt::gray);
    format.setCellSpacing(0);
    format.setCellPadding(2);
    format.setWidth(QTextLength(QTextLength::PercentageLength, columns > 3 ? 100 : 75));
    QTextTable* table = cursor.insertTable(int(last - first), columns, format);
    for (std::size_t r = first; r < last; ++r) {
        const int row = int(r - first);
        for (int c = 0; c < columns && c < int(lines[r].Cells.size()); ++c) {
            QTextCursor cell = table->cellAt(row, c).firstCursorPosition();
            cell.insertText(ToQt(lines[r].Cells[c]), LineFormat(base, lines[r], row == 0));
        }
    }
    cursor.movePosition(QTextCursor::End);
}

// Every picture of the document as wide as `width`, in the layout's units.
void ScalePictures(QTextDocument& document, qreal width) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.charFormat().isImageFormat()) continue;
            QTextImageFormat image = fragment.charFormat().toImageFormat();
            const QImage picture =
                document.resource(QTextDocument::ImageResource, QUrl(image.name())).value<QImage>();
            if (picture.isNull()) continue;
            image.setWidth(width);
            image.setHeight(width * picture.height() / picture.width());
            QTextCursor cursor(&document);
            cursor.setPosition(fragment.position());
            cursor.setPosition(fragment.position() + fragment.length(), QTextCursor::KeepAnchor);
            cursor.setCharFormat(image);
        }
    }
}

}  // namespace

std::unique_ptr<QTextDocument> ReportDocument(const std::vector<ReportLine>& lines,
                                              const QFont& base, const QImage& picture) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(base);
    document->setDocumentMargin(0);
    if (!picture.isNull())
        document->addResource(QTextDocument::ImageResource, QUrl(kPictureName), picture);
    QTextCursor cursor(document.get());
    // A table leaves an empty paragraph after it, which the next line takes.
    bool fresh = true;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const ReportLine& line = lines[i];
        if (!line.Cells.empty()) {
            std::size_t last = i;
            while (last < lines.size() && lines[last].Cells.size() == line.Cells.size())
                ++last;
            if (!fresh) cursor.insertBlock();
            InsertTable(cursor, lines, i, last, base);
            fresh = true;
            i = last - 1;
            continue;
        }
        if (!fresh) cursor.insertBlock();
        fresh = false;
        const QTextCharFormat format = LineFormat(base, line, line.Bold);
        cursor.setBlockCharFormat(format);
        if (line.Picture) {
            if (picture.isNull()) continue;
            QTextImageFormat image;
            image.setName(kPictureName);
            image.setWidth(picture.width());
            image.setHeight(picture.height());
            cursor.insertImage(image);
            continue;
        }
        // A readings text brings its own line breaks: each starts a line.
        QString text = ToQt(line.Text);
        text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
        text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        text.replace(QLatin1Char('\n'), QChar::LineSeparator);
        cursor.insertText(text, format);
    }
    return document;
}

QRect SetRichEditMargins(const QPrinter& printer, long double left, long double right,
                         long double top, long double bottom) {
    const long double dx = printer.resolution();
    const long double dy = printer.resolution();
    // Printing is full-page: the device's origin is the paper's corner, so
    // there is no unprintable offset to take off, and the margins are
    // measured from the paper's edges whatever the printer cannot reach.
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const auto n = [](long double x) { return static_cast<int>(std::lround(x)); };
    return QRect(QPoint(n(dx * left), n(dy * top)),
                 QPoint(paper.width() - n(dx * right) - 1, paper.height() - n(dy * bottom) - 1));
}

void PrintReport(QTextDocument& document, QPagedPaintDevice& device, const QRect& page) {
    QPainter painter(&device);
    if (!painter.isActive()) return;
    document.documentLayout()->setPaintDevice(&device);
    ScalePictures(document, page.width() * 0.6);
    document.setPageSize(page.size());
    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) device.newPage();
        painter.save();
        painter.translate(page.left(), page.top() - i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = QRectF(0, i * page.height(), page.width(), page.height());
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(context.clip);
        document.documentLayout()->draw(&painter, context);
        painter.restore();
    }
}

bool WriteReportPdfFile(QTextDocument& document, const QString& path, QString& reason) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        reason = file.errorString();
        return false;
    }
    {
        QPdfWriter writer(&file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(300);
        writer.setTitle(ToQt(kReportJobTitle));
        writer.setCreator(QStringLiteral("Corvanta " CORVANTA_VERSION));
        const int dpi = writer.resolution();
        const QRect paper(0, 0, writer.width(), writer.height());
        // The printed report's margins: 1 inch left, right and bottom, 2 at the top.
        const QRect page(QPoint(dpi, 2 * dpi),
                         QPoint(paper.width() - dpi - 1, paper.height() - dpi - 1));
        PrintReport(document, writer, page);
    }
    if (file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    file.close();
    return true;
}

}  // namespace corvanta
