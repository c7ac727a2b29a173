#include "ui/ReportDocument.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <cmath>

#include "ui/TextBridge.h"

namespace corvanta {

std::unique_ptr<QTextDocument> ReportDocument(const std::vector<ReportLine>& lines,
                                              const QFont& base) {
    auto document = std::make_unique<QTextDocument>();
    document->setDefaultFont(base);
    document->setDocumentMargin(0);
    QTextCursor cursor(document.get());
    bool first = true;
    for (const ReportLine& line : lines) {
        if (!first) cursor.insertBlock();
        first = false;
        QTextCharFormat format;
        QFont font = base;
        font.setPointSizeF(base.pointSizeF() + line.SizeStep);
        font.setBold(line.Bold);
        font.setItalic(line.Italic);
        format.setFont(font);
        cursor.setBlockCharFormat(format);
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

void PrintReport(QTextDocument& document, QPrinter& printer, const QRect& page) {
    QPainter painter(&printer);
    if (!painter.isActive()) return;
    document.documentLayout()->setPaintDevice(&printer);
    document.setPageSize(page.size());
    const int pages = document.pageCount();
    for (int i = 0; i < pages; ++i) {
        if (i > 0) printer.newPage();
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

}  // namespace corvanta
