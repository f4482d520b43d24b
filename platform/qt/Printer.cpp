#include "platform/Printer.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <cstdlib>

namespace ondrex {

std::string ExpandTabs(const std::string& line, int tabWidth) {
    if (tabWidth <= 0 || line.find('\t') == std::string::npos) return line;
    std::string out;
    for (char c : line) {
        if (c != '\t') {
            out += c;
            continue;
        }
        out.append(tabWidth - out.size() % tabWidth, ' ');
    }
    return out;
}

void PrintLines(const std::string& title, const std::vector<std::string>& lines,
                const TFont& font) {
    qt::ensureApplication();
    QPrinter printer(QPrinter::HighResolution);
    const char* pdf = std::getenv("ONDREX_PRINT_TO_PDF");
    if (pdf && *pdf) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromLocal8Bit(pdf));
    } else {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull()) throw EPrinterError("There is no default printer installed");
        printer.setPrinterName(info.printerName());
    }
    printer.setDocName(qt::ToQString(title));
    printer.setCreator(QStringLiteral("Ondrex"));
    printer.setPageMargins(QMarginsF(0, 0, 0, 0));

    QPainter painter;
    if (!painter.begin(&printer))
        throw EPrinterError("The printer \"" + qt::FromQString(printer.printerName()) +
                            "\" did not accept the job");
    // Logical font heights are pixels at 96 dpi; the printer has its own resolution.
    QFont qfont = qt::ToQFont(font);
    if (qfont.pixelSize() > 0) qfont.setPointSizeF(qfont.pixelSize() * 72.0 / 96.0);
    qfont = QFont(qfont, &printer);
    painter.setFont(qfont);
    painter.setPen(Qt::black);
    const QFontMetrics metrics(qfont, &printer);
    const int lineHeight = std::max(metrics.lineSpacing(), 1);
    const int pageHeight = printer.pageRect(QPrinter::DevicePixel).toRect().height();
    int y = 0;
    for (const std::string& line : lines) {
        if (y > 0 && y + lineHeight > pageHeight) {
            if (!printer.newPage()) throw EPrinterError("The printer could not start a page");
            y = 0;
        }
        painter.drawText(0, y + metrics.ascent(), qt::ToQString(ExpandTabs(line)));
        y += lineHeight;
    }
    if (!painter.end() || printer.printerState() == QPrinter::Error)
        throw EPrinterError("Printing \"" + title + "\" failed");
}

} // namespace ondrex
