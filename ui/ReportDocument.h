#pragma once

#include <QFont>
#include <QImage>
#include <QRect>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "document/ResultsReport.h"

class QPagedPaintDevice;
class QPrinter;

namespace corvanta {

// The report's styled lines as a rich-text document: each line a paragraph
// in the base font, its size moved by the line's step, bold and italic as
// the line says; rows of cells as tables, the first row bold; the picture
// line as the chart image.
std::unique_ptr<QTextDocument> ReportDocument(const std::vector<ReportLine>& lines,
                                              const QFont& base, const QImage& picture = {});

// The page rectangle, in device pixels of a full-page printer, that leaves
// the given margins (in inches) free from the paper's edges.
QRect SetRichEditMargins(const QPrinter& printer, long double left, long double right,
                         long double top, long double bottom);

// Prints the document page by page inside the page rectangle; the picture
// is scaled to 60 % of the page's width.
void PrintReport(QTextDocument& document, QPagedPaintDevice& device, const QRect& page);

// Writes the document as an A4 PDF with the printed report's margins; false
// when the file can't be written.
bool WriteReportPdfFile(QTextDocument& document, const QString& path, QString& reason);

inline constexpr const char* kReportJobTitle = "Corvanta \xAE Simulation results";

}  // namespace corvanta
