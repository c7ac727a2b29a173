#include "ui/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QFile>
#include <QFontMetricsF>
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

// A block that must stand on the same page as the next one that shows
// something: a heading, or the line above a table or the picture.
constexpr int kKeepWithNext = QTextFormat::UserProperty + 1;

// A new block takes the format of the one before it: every line says
// whether it is kept.
void MarkKeepWithNext(QTextCursor& cursor, bool keep) {
    QTextBlockFormat format = cursor.blockFormat();
    format.setProperty(kKeepWithNext, keep);
    cursor.setBlockFormat(format);
}

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
    // One line between cells, drawn by the cells themselves.
    format.setBorderCollapse(true);
    // A line's height below the table, where the empty line after it shows
    // none.
    format.setBottomMargin(QFontMetricsF(base).height());
    QTextTable* table = cursor.insertTable(int(last - first), columns, format);
    for (std::size_t r = first; r < last; ++r) {
        const int row = int(r - first);
        for (int c = 0; c < columns && c < int(lines[r].Cells.size()); ++c) {
            QTextTableCell cell = table->cellAt(row, c);
            QTextTableCellFormat look = cell.format().toTableCellFormat();
            look.setBorder(0.5);
            look.setBorderBrush(Qt::gray);
            look.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
            if (row == 0) look.setBackground(QColor(0xE8, 0xE8, 0xE8));
            cell.setFormat(look);
            cell.firstCursorPosition().insertText(ToQt(lines[r].Cells[c]),
                                                  LineFormat(base, lines[r], row == 0));
        }
    }
    cursor.movePosition(QTextCursor::End);
}

// Every picture of the document as wide as `width`, in the layout's units,
// once the document is laid out on its device. The layout enlarges a
// picture by the device's resolution over the screen's, so the size is set,
// measured in the layout and set again in proportion.
void ScalePictures(QTextDocument& document, qreal width) {
    for (int pass = 0; pass < 2; ++pass) {
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (!fragment.charFormat().isImageFormat()) continue;
                QTextImageFormat image = fragment.charFormat().toImageFormat();
                const QImage picture =
                    document.resource(QTextDocument::ImageResource, QUrl(image.name()))
                        .value<QImage>();
                if (picture.isNull()) continue;
                qreal set = width;
                if (pass == 1) {
                    document.documentLayout()->documentSize();  // lays the document out
                    const qreal laid = block.layout()->lineCount() > 0
                                           ? block.layout()->lineAt(0).naturalTextWidth()
                                           : 0;
                    if (laid <= 0) continue;
                    set = image.width() * width / laid;
                }
                image.setWidth(set);
                image.setHeight(set * picture.height() / picture.width());
                QTextCursor cursor(&document);
                cursor.setPosition(fragment.position());
                cursor.setPosition(fragment.position() + fragment.length(),
                                   QTextCursor::KeepAnchor);
                cursor.setCharFormat(image);
            }
        }
    }
}

// The first block after `block` that shows something: text, a cell's text
// or the picture.
QTextBlock NextShown(const QTextBlock& block) {
    QTextBlock next = block.next();
    while (next.isValid() && next.text().isEmpty())
        next = next.next();
    return next;
}

// A block kept with the next one starts a page when the page ends between
// them (or within the table that follows); each break moves what follows, so the check runs until
// no block needs one.
void KeepBlocksTogether(QTextDocument& document, qreal pageHeight) {
    if (pageHeight <= 0) return;
    const auto page = [&](const QTextBlock& block) {
        return int(document.documentLayout()->blockBoundingRect(block).top() / pageHeight);
    };
    for (bool moved = true; moved;) {
        moved = false;
        for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
            const QTextBlockFormat format = block.blockFormat();
            if (!format.boolProperty(kKeepWithNext) ||
                format.pageBreakPolicy() & QTextFormat::PageBreak_AlwaysBefore)
                continue;
            QTextBlock next = NextShown(block);
            if (!next.isValid()) continue;
            // A table shorter than a page comes whole, with what introduces it.
            if (QTextTable* table = QTextCursor(next).currentTable();
                table && document.documentLayout()->frameBoundingRect(table).height() < pageHeight)
                next = table->lastCursorPosition().block();
            if (page(next) == page(block)) continue;
            // The page starts with the first of the blocks kept together.
            QTextBlock first = block;
            for (QTextBlock back = block.previous(); back.isValid(); back = back.previous()) {
                if (back.text().isEmpty()) continue;
                if (!back.blockFormat().boolProperty(kKeepWithNext)) break;
                first = back;
            }
            QTextBlockFormat broken = first.blockFormat();
            broken.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            QTextCursor(first).setBlockFormat(broken);
            moved = true;
            break;
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
        const bool heading = line.Bold && !line.Text.empty() &&
                             (i == 0 || (lines[i - 1].Text.empty() && lines[i - 1].Cells.empty() &&
                                         !lines[i - 1].Picture));
        const bool introduces =
            !line.Text.empty() && i + 1 < lines.size() &&
            (!lines[i + 1].Cells.empty() || (lines[i + 1].Picture && !picture.isNull()));
        MarkKeepWithNext(cursor, heading || introduces);
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
    document.setPageSize(page.size());
    ScalePictures(document, page.width() * 0.6);
    KeepBlocksTogether(document, page.height());
    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) device.newPage();
        painter.save();
        painter.translate(page.left(), page.top() - i * page.height());
        QAbstractTextDocumentLayout::PaintContext context;
        // Inside the page by a pixel, so that a block starting the next page
        // is not also drawn, clipped away, at the foot of this one.
        const QRectF sheet(0, i * page.height(), page.width(), page.height());
        context.clip = sheet.adjusted(0, 1, 0, -1);
        context.palette.setColor(QPalette::Text, Qt::black);
        painter.setClipRect(sheet);
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
