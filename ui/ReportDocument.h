#pragma once

#include <QFont>
#include <QRect>
#include <QTextDocument>
#include <memory>
#include <vector>

#include "document/ResultsReport.h"

class QPrinter;

namespace corvanta {

// The report's styled lines as a rich-text document: each line a paragraph
// in the base font, its size moved by the line's step, bold and italic as
// the line says.
std::unique_ptr<QTextDocument> ReportDocument(const std::vector<ReportLine>& lines,
                                              const QFont& base);

// The page rectangle, in device pixels of a full-page printer, that leaves
// the given margins (in inches) free from the paper's edges.
QRect SetRichEditMargins(const QPrinter& printer, long double left, long double right,
                         long double top, long double bottom);

// Prints the document page by page inside the page rectangle.
void PrintReport(QTextDocument& document, QPrinter& printer, const QRect& page);

inline constexpr const char* kReportJobTitle = "Corvanta \xAE Simulation results";

}  // namespace corvanta
