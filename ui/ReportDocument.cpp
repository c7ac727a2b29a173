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
    // The device's origin lies at the corner of its printable area; the
    // paper's corner is ox, oy beyond it.
    const QRect paper = printer.paperRect(QPrinter::DevicePixel).toRect();
    const QRect printable = printer.pageRect(QPrinter::DevicePixel).toRect();
    const int ox = printer.fullPage() ? 0 : printable.left() - paper.left();
    const int oy = printer.fullPage() ? 0 : printable.top() - paper.top();
    const int width = printer.fullPage() ? paper.width() : printable.width();
    const int height = printer.fullPage() ? paper.height() : printable.height();
    const auto n = [](long double x) { return static_cast<int>(std::lround(x)); };
    const int leftEdge = n(dx * left) - ox;
    const int topEdge = n(dy * top) - oy;
    const int rightEdge = width - n(dx * right) - ox;
    const int bottomEdge = height - n(dy * bottom) - oy;
    return QRect(QPoint(leftEdge, topEdge), QPoint(rightEdge - 1, bottomEdge - 1));
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
