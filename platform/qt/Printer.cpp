#include "platform/Printer.h"

#include "platform/PrintSpooler.h"

#include "platform/qt/QtApplication.h"
#include "platform/qt/QtFont.h"
#include "platform/qt/QtText.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <unistd.h>

namespace ondrex {

namespace {

// A PDF job is written beside its file under a name of its own and takes the file's name
// only when complete, so a cancelled or failed job never leaves a file that looks whole.
// A printer's job is drawn into a temporary PDF and queued only when complete, so that a
// cancelled job prints nothing; without a queue command it goes to the printer as it is drawn.
class TQtPrintJob : public TPrintJob {
public:
    TQtPrintJob(const std::string& title, const TFont& font) : printer_(highResolution()) {
        const char* pdf = std::getenv("ONDREX_PRINT_TO_PDF");
        if (pdf && *pdf) {
            pdf_ = std::filesystem::path(pdf);
            writePdf(pdf_->string() + ".part");
        } else {
            const QPrinterInfo info = QPrinterInfo::defaultPrinter();
            if (info.isNull()) throw EPrinterError("There is no default printer installed");
            printerName_ = qt::FromQString(info.printerName());
            if (PrintSpoolerAvailable()) {
                writePdf(temporaryPdf());
                printer_.setPageSize(info.defaultPageSize());
            } else {
                printer_.setPrinterName(info.printerName());
            }
        }
        printer_.setDocName(qt::ToQString(title));
        printer_.setCreator(QStringLiteral("Ondrex"));
        printer_.setPageMargins(QMarginsF(0, 0, 0, 0));
        title_ = title;

        if (!painter_.begin(&printer_)) {
            dropPartial();
            throw EPrinterError("The printer \"" + printerName_ + "\" did not accept the job");
        }
        // Logical font heights are pixels at 96 dpi; the printer has its own resolution.
        QFont qfont = qt::ToQFont(font);
        if (qfont.pixelSize() > 0) qfont.setPointSizeF(qfont.pixelSize() * 72.0 / 96.0);
        qfont = QFont(qfont, &printer_);
        painter_.setFont(qfont);
        painter_.setPen(Qt::black);
        const QFontMetrics metrics(qfont, &printer_);
        lineHeight_ = std::max(metrics.lineSpacing(), 1);
        ascent_ = metrics.ascent();
        const QRect page = printer_.pageRect(QPrinter::DevicePixel).toRect();
        pageHeight_ = page.height();
        // Twice what the narrowest common characters fill: marks of no width of their own
        // are rare, and a line cut a little late is only clipped at the edge.
        int narrowest = metrics.horizontalAdvance(QLatin1Char(' '));
        for (const char c : {'.', 'i', 'l', '|', '\'', '!'})
            narrowest = std::min(narrowest, metrics.horizontalAdvance(QLatin1Char(c)));
        charsPerLine_ = 2 * std::size_t(page.width() / std::max(narrowest, 1)) + 2;
    }

    ~TQtPrintJob() override {
        if (finished_) return;
        printer_.abort(); // a printer that can drops the pages sent so far
        if (painter_.isActive()) painter_.end();
        dropPartial();
    }

    std::size_t LinesPerPage() const override {
        return static_cast<std::size_t>(std::max(pageHeight_ / lineHeight_, 1));
    }
    std::size_t CharsPerLine() const override { return charsPerLine_; }

    void NewPage() override {
        if (!printer_.newPage()) throw EPrinterError("The printer could not start a page");
    }

    void DrawLine(std::size_t row, const std::string& line) override {
        const int y = static_cast<int>(row) * lineHeight_;
        painter_.drawText(0, y + ascent_, qt::ToQString(line));
    }

    void Finish() override {
        if (!painter_.end() || printer_.printerState() == QPrinter::Error)
            throw EPrinterError("Printing \"" + title_ + "\" failed");
        if (pdf_) {
            std::error_code error;
            std::filesystem::rename(partial_, *pdf_, error);
            if (error)
                throw EPrinterError("Printing \"" + title_ + "\" failed: " + pdf_->string() + ": " +
                                    error.message());
        } else if (!partial_.empty()) { // drawn for the printer's queue
            QueuePdf(printerName_, title_, partial_);
            dropPartial();
        }
        finished_ = true;
    }

private:
    // The printer needs the application, and is the first member made.
    static QPrinter::PrinterMode highResolution() {
        qt::ensureApplication();
        return QPrinter::HighResolution;
    }
    void writePdf(std::string file) {
        partial_ = std::move(file);
        printer_.setOutputFormat(QPrinter::PdfFormat);
        printer_.setOutputFileName(QString::fromLocal8Bit(partial_.c_str()));
    }
    // Made here, so that no other program can take the name before the job writes it.
    static std::string temporaryPdf() {
        std::string name = (std::filesystem::temp_directory_path() / "ondrex-print-XXXXXX.pdf");
        const int fd = mkstemps(name.data(), 4);
        if (fd < 0)
            throw EPrinterError("Could not make a temporary file for the print job: " +
                                std::string(std::strerror(errno)));
        close(fd);
        return name;
    }
    void dropPartial() {
        std::error_code ignored;
        if (!partial_.empty()) std::filesystem::remove(partial_, ignored);
    }

    std::optional<std::filesystem::path> pdf_;
    std::string partial_;
    std::string printerName_;
    std::string title_;
    QPrinter printer_;
    QPainter painter_;
    int lineHeight_ = 1;
    int ascent_ = 0;
    int pageHeight_ = 0;
    std::size_t charsPerLine_ = 1;
    bool finished_ = false;
};

} // namespace

bool PrintLines(const std::string& title, const std::vector<std::string>& lines,
                const TFont& font) {
    TQtPrintJob job(title, font);
    return PrintLinesOn(job, title, lines);
}

} // namespace ondrex
