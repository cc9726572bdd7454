#include "cli/AfterRunStep.h"

#include <filesystem>
#include <iostream>

#include "cli/CliOptions.h"
#include "cli/StopSignals.h"
#include "core/project/AfterRun.h"
#include "core/project/AfterRunConfirmation.h"

namespace zv {

namespace {

const char* WhatIsWritten(ExportFormat format) {
    switch (format) {
        case ExportFormat::Links:
            return "a folder of links";
        case ExportFormat::Lists:
            return "a path list";
        case ExportFormat::Iso:
            return "an ISO image";
        case ExportFormat::Catalog:
            break;
    }
    return "a catalog";
}

}  // namespace

void CarryOutAfterRun(const AfterRunStep& step, const ExportProgress& progress) {
    const RunSettings& settings = step.settings;
    const std::optional<ExportFormat> format = AfterRunFormat(settings.AfterRun);
    if (!format)
        return;
    const AfterRunConfirmation confirmation(step.project, settings);
    if (step.confirmedNow) {
        // The export goes on all the same: the user asked for it now.
        if (const Status recorded = confirmation.Confirm(); !recorded.ok())
            std::cerr << "zarvopack-cli: " << recorded.message() << '\n';
    } else if (!confirmation.Confirmed()) {
        std::cerr << "zarvopack-cli: the project asks for an after-run export into '"
                  << settings.AfterPath
                  << "'; it was not carried out, as it was never confirmed for this file on this "
                     "machine (--after-run carries it out)\n";
        return;
    }
    std::cerr << "zarvopack-cli: after the run: writing " << WhatIsWritten(*format)
              << " per medium into '" << settings.AfterPath << "'\n";
    try {
        for (const std::string& written :
             PerformAfterRun(step.items, std::filesystem::path(step.project).stem().string(),
                             settings, step.force, progress))
            std::cerr << "zarvopack-cli: after the run: wrote " << written << '\n';
    } catch (const ExportCancelled&) {
        if (const int signal = StopSignals::Received())
            throw Stopped(signal,
                          "during the after-run export; the project holds the new plan, "
                          "and nothing of the export was kept");
        throw;
    } catch (const MediumExportError& error) {
        throw Failure(std::string("after the run: ") + error.what() +
                      (dynamic_cast<const ExportExists*>(&error) ? " (--force replaces it)" : ""));
    }
}

}  // namespace zv
