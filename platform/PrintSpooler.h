#pragma once
// Hands a finished PDF to the printing system's queue through its `lp` command. A job drawn
// into a file first and queued only when complete can be cancelled halfway without a single
// page reaching the printer, which a job drawn straight onto the printer cannot.

#include <filesystem>
#include <string>

namespace ondrex {

// True when an `lp` command is on PATH.
bool PrintSpoolerAvailable();

// Queues `pdf` on `printer` under the job name `title`, and returns once the queue has a copy
// (the file may then be removed). Throws EPrinterError with what the queue said when it
// refused the job.
void QueuePdf(const std::string& printer, const std::string& title,
              const std::filesystem::path& pdf);

} // namespace ondrex
