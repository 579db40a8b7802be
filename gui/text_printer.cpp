#include "text_printer.h"

#include <QFont>
#include <QPainter>
#include <QPrintDialog>
#include <QTextOption>
#include <QtMath>

#include "app/text_pagination.h"

namespace velmar {

namespace {

constexpr int kReportPointSize = 10;
// Tab stops every eight average characters, as reports were laid out for.
constexpr int kTabStopCharacters = 8;

// Reports are 8-bit text, one character a byte.
QString ReportText(std::string_view text) {
  return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// Heights as the painter will draw the text into the page width.
class PainterMeasure : public TextMeasure {
 public:
  PainterMeasure(QPainter& painter, const QRectF& page, const QTextOption& layout)
      : painter_(painter), page_(page), layout_(layout) {}
  int MeasureHeight(std::string_view text) override {
    return qCeil(painter_.boundingRect(page_, ReportText(text), layout_).height());
  }

 private:
  QPainter& painter_;
  QRectF page_;
  QTextOption layout_;
};

}  // namespace

bool PrintPages(QPrinter& printer, const std::string& text) {
  if (text.empty()) {
    return true;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    return false;
  }
  QFont font("Sans Serif", kReportPointSize);
  font.setStyleHint(QFont::SansSerif);
  painter.setFont(font);
  painter.setBackgroundMode(Qt::OpaqueMode);
  painter.setBackground(Qt::white);

  // Word-wrapped to the page width; a word longer than a line is broken rather than cut off.
  QTextOption layout;
  layout.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  layout.setTabStopDistance(kTabStopCharacters * painter.fontMetrics().averageCharWidth());

  const QRect paintRect = printer.pageLayout().paintRectPixels(printer.resolution());
  const QRectF page(0, 0, paintRect.width(), paintRect.height());
  PainterMeasure measure(painter, page, layout);
  bool first = true;
  for (std::string_view pageText : PaginateText(text, page.height(), measure)) {
    if (!first && !printer.newPage()) {
      printer.abort();
      return false;
    }
    first = false;
    painter.drawText(page, ReportText(pageText), layout);
  }
  return painter.end();
}

PrintResult PrintText(QWidget* owner, const std::string& text) {
  QPrinter printer(QPrinter::HighResolution);
  QPrintDialog dialog(&printer, owner);
  // No page range or selection: the whole report is printed. Printing to a PDF file stays
  // offered for a desk without a printer.
  dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
  dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
  dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
  if (dialog.exec() != QDialog::Accepted) {
    return PrintResult::Cancelled;
  }
  return PrintPages(printer, text) ? PrintResult::Printed : PrintResult::Failed;
}

}  // namespace velmar
