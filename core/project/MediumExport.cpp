#include "core/project/MediumExport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "core/engine/CommonFolder.h"
#include "core/platform/AtomicReplace.h"
#include "core/platform/FileOps.h"
#include "core/project/IsoImage.h"
#include "core/project/Sha256.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

constexpr const char* kSums = "SHA256SUMS";
// Bytes read at a time while hashing; between them the export may be cancelled.
constexpr size_t kHashChunk = 1 << 20;

struct PlacedFile {
    int medium;
    fs::path source;    // as the project names it
    fs::path contents;  // the file itself, with every symbolic link resolved
    fs::path relative;  // below the common folder: the path on the medium
    uintmax_t size;
};

enum class Piece { Medium, ImageSum };

// One piece of output, built at `part` and renamed to `final` at the end.
struct Output {
    fs::path final;
    fs::path part;
    int medium;
    Piece piece = Piece::Medium;
};

// Tells the caller how far the export has come and stops it when asked to.
class Progress {
  public:
    Progress(const ExportProgress& callbacks, size_t outputs)
        : callbacks_(callbacks), outputs_(std::max<size_t>(outputs, 1)) {}

    void Begin(size_t index, const fs::path& output) {
        index_ = index;
        name_ = output.filename().string();
        Stage(0, 1);
        Report(0);
    }
    // The part of the current output that the reports from now on cover.
    void Stage(double start, double width) {
        stageStart_ = start;
        stageWidth_ = width;
    }
    // `done`: how much of the current stage is done.
    void Report(double done) {
        const double output = stageStart_ + stageWidth_ * std::clamp(done, 0.0, 1.0);
        if (callbacks_.report)
            callbacks_.report(
                name_, (static_cast<double>(index_) + output) / static_cast<double>(outputs_));
        CheckGoOn();
    }
    void CheckGoOn() const {
        if (!KeepGoing())
            throw ExportCancelled();
    }
    bool KeepGoing() const { return !callbacks_.keepGoing || callbacks_.keepGoing(); }

  private:
    const ExportProgress& callbacks_;
    size_t outputs_;
    size_t index_ = 0;
    std::string name_;
    double stageStart_ = 0;
    double stageWidth_ = 1;
};

std::string MediumName(const std::string& project, int medium) {
    return project + (medium < 10 ? "_0" : "_") + std::to_string(medium);
}

[[noreturn]] void Fail(const fs::path& path, const std::error_code& error) {
    throw MediumExportError(path.string(), error.message());
}

void WriteText(const fs::path& path, const std::string& text) {
    if (const Status written = WriteNewFile(path.string(), text); !written.ok())
        throw MediumExportError(path.string(), written.code().message());
}

// The digest of a whole file, read in pieces so that the export can be
// cancelled within a large one.
std::string HashContents(const fs::path& path, Progress& progress) {
    std::ifstream in(path, std::ios::binary);
    Sha256 sha;
    std::vector<char> buffer(kHashChunk);
    while (in) {
        in.read(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        sha.Add(buffer.data(), static_cast<size_t>(in.gcount()));
        progress.CheckGoOn();
    }
    if (!in.eof())
        throw MediumExportError(path.string(), "the file cannot be read");
    return sha.HexDigest();
}

// A line of sha256sum's own format; a name with a backslash or a line break
// takes the escaped form that `sha256sum -c` reads back.
std::string SumLine(const std::string& hex, const std::string& name) {
    std::string escaped;
    for (const char c : name) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else {
            escaped += c;
        }
    }
    return (escaped == name ? "" : "\\") + hex + "  " + escaped + "\n";
}

std::vector<PlacedFile> PlacedFiles(const std::vector<ProjectItem>& items) {
    std::vector<PlacedFile> files;
    for (const ProjectItem& item : items) {
        if (item.medium <= 0)
            continue;
        for (const ProjectMember& member : item.members) {
            const fs::path source = fs::absolute(member.path).lexically_normal();
            std::error_code error;
            const fs::file_status status = fs::status(source, error);
            if (!fs::exists(status))
                throw MediumExportError(source.string(), "the file does not exist");
            if (!fs::is_regular_file(status))
                throw MediumExportError(source.string(), "is not a regular file");
            const fs::path contents = fs::canonical(source, error);
            if (error)
                Fail(source, error);
            const uintmax_t size = fs::file_size(contents, error);
            if (error)
                Fail(source, error);
            files.push_back({item.medium, source, contents, {}, size});
        }
    }
    std::vector<std::string> paths;
    for (const PlacedFile& file : files)
        paths.push_back(file.source.string());
    if (!paths.empty()) {
        const fs::path common = CommonFolder(paths);
        for (PlacedFile& file : files)
            file.relative = file.source.lexically_relative(common);
    }
    return files;
}

// The medium's SHA256SUMS, checked from the medium's root.
std::string MediumSums(const std::vector<PlacedFile>& files, int medium, Progress& progress) {
    std::string sums;
    size_t done = 0;
    const auto count = static_cast<size_t>(std::count_if(
        files.begin(), files.end(), [medium](const PlacedFile& f) { return f.medium == medium; }));
    for (const PlacedFile& file : files) {
        if (file.medium != medium)
            continue;
        // The catalog written under that name would take the file's place.
        if (file.relative == kSums)
            throw MediumExportError(file.source.string(), "has the name of the medium's catalog");
        sums += SumLine(HashContents(file.contents, progress), file.relative.generic_string());
        progress.Report(static_cast<double>(++done) / static_cast<double>(count));
    }
    return sums;
}

void BuildLinkFolder(const fs::path& folder, const std::vector<PlacedFile>& files, int medium,
                     Progress& progress) {
    std::error_code error;
    fs::create_directory(folder, error);
    if (error)
        Fail(folder, error);
    for (const PlacedFile& file : files) {
        if (file.medium != medium || file.relative == kSums)
            continue;
        const fs::path link = folder / file.relative;
        fs::create_directories(link.parent_path(), error);
        if (error)
            Fail(link.parent_path(), error);
        fs::create_hard_link(file.contents, link, error);
        if (error == std::errc::cross_device_link)
            fs::create_symlink(file.contents, link, error);
        if (error)
            Fail(link, error);
    }
    WriteText(folder / kSums, MediumSums(files, medium, progress));
}

// The two readers of path lists differ in one point: xorriso's -pathspecs
// takes only "\=" as an escape, while -graft-points (xorriso -as mkisofs,
// genisoimage) takes "\\" for a backslash as well. Both split a line at its
// first "=" without a backslash before it and take the source after it as it
// stands.
enum class PathListReader { PathSpecs, GraftPoints };

std::string PathListLine(const std::string& onMedium, const fs::path& source,
                         PathListReader reader) {
    // xorriso reads one entry a line and has no escape for a line break.
    for (const std::string& side : {onMedium, source.string()}) {
        if (side.find('\n') != std::string::npos)
            throw MediumExportError(source.string(), "a path list cannot hold a line break");
    }
    std::string line;
    for (const char c : onMedium) {
        if (c == '=' || (c == '\\' && reader == PathListReader::GraftPoints))
            line += '\\';
        line += c;
    }
    // For -pathspecs the separator would read as an escaped "=".
    if (reader == PathListReader::PathSpecs && line.back() == '\\')
        throw MediumExportError(source.string(), "a path list cannot hold a name ending in \"\\\"");
    return line + "=" + source.string() + "\n";
}

std::string PathList(const std::vector<PlacedFile>& files, int medium, PathListReader reader) {
    std::string list;
    for (const PlacedFile& file : files) {
        if (file.medium == medium)
            list += PathListLine("/" + file.relative.generic_string(), file.contents, reader);
    }
    return list;
}

std::string Catalog(const std::vector<PlacedFile>& files) {
    std::string csv = "medium,path,size\r\n";
    for (const PlacedFile& file : files) {
        csv += std::to_string(file.medium) + "," + CsvField(file.relative.generic_string()) + "," +
               std::to_string(file.size) + "\r\n";
    }
    return csv;
}

// The folder beside an image that holds what xorriso reads besides the files.
fs::path ImageWork(const Output& output) {
    return fs::path(output.part) += ".d";
}

void BuildImage(const Output& output, const std::vector<PlacedFile>& files,
                const std::string& project, double capacity, Progress& progress) {
    const fs::path work = ImageWork(output);
    std::error_code error;
    fs::create_directory(work, error);
    if (error)
        Fail(work, error);
    // Hashing reads every file once and xorriso reads them again: each takes
    // about half of the medium's time.
    const std::string list = PathList(files, output.medium, PathListReader::GraftPoints);
    progress.Stage(0, 0.5);
    WriteText(work / kSums, MediumSums(files, output.medium, progress));
    WriteText(work / "pathlist", list + PathListLine(std::string("/") + kSums, work / kSums,
                                                     PathListReader::GraftPoints));
    progress.Stage(0.5, 0.5);
    WriteIsoImage(
        output.part.string(), VolumeId(project, output.medium), (work / "pathlist").string(),
        [&](double done) { progress.Report(done); }, [&] { return progress.KeepGoing(); });
    fs::remove_all(work, error);

    const uintmax_t size = fs::file_size(output.part, error);
    if (error)
        Fail(output.part, error);
    if (capacity > 0 && static_cast<double>(size) > capacity) {
        throw MediumExportError(output.final.string(),
                                "the image takes " + std::to_string(size) +
                                    " bytes, more than the medium's capacity of " +
                                    std::to_string(static_cast<uintmax_t>(capacity)) + " bytes");
    }
}

void Build(const Output& output, ExportFormat format, const std::vector<PlacedFile>& files,
           const std::string& project, double capacity, Progress& progress) {
    switch (format) {
        case ExportFormat::Links:
            BuildLinkFolder(output.part, files, output.medium, progress);
            break;
        case ExportFormat::Lists:
            WriteText(output.part, PathList(files, output.medium, PathListReader::PathSpecs));
            break;
        case ExportFormat::Catalog:
            WriteText(output.part, Catalog(files));
            break;
        case ExportFormat::Iso:
            if (output.piece == Piece::Medium) {
                BuildImage(output, files, project, capacity, progress);
            } else {
                // Written right after its image, which is still at its ".part".
                const fs::path image = fs::path(output.final).replace_extension();
                WriteText(output.part, SumLine(HashContents(fs::path(image) += ".part", progress),
                                               image.filename().string()));
            }
            break;
    }
}

std::vector<Output> PlanOutputs(const std::string& project, const fs::path& target,
                                ExportFormat format, const std::set<int>& media) {
    std::vector<Output> outputs;
    auto plan = [&](const std::string& name, int medium, Piece piece = Piece::Medium) {
        const fs::path final = target / name;
        outputs.push_back({final, fs::path(final) += ".part", medium, piece});
    };
    if (format == ExportFormat::Catalog) {
        plan(project + "_catalog.csv", 0);
        return outputs;
    }
    for (const int medium : media) {
        const std::string name = MediumName(project, medium);
        if (format == ExportFormat::Lists) {
            plan(name + ".pathlist", medium);
        } else if (format == ExportFormat::Iso) {
            plan(name + ".iso", medium);
            plan(name + ".iso.sha256", medium, Piece::ImageSum);
        } else {
            plan(name, medium);
        }
    }
    return outputs;
}

void RemoveParts(const std::vector<Output>& outputs) {
    std::error_code ignored;
    for (const Output& output : outputs) {
        fs::remove_all(output.part, ignored);
        fs::remove_all(ImageWork(output), ignored);
    }
}

}  // namespace

std::string CsvField(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (const char c : text) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

std::vector<std::string> ExportMedia(const std::vector<ProjectItem>& items,
                                     const std::string& project, const std::string& target,
                                     ExportFormat format, bool force,
                                     const ExportProgress& progress, double capacity) {
    const std::vector<PlacedFile> files = PlacedFiles(items);
    if (files.empty())
        throw MediumExportError(target, "no file of the project is placed on a medium");
    std::set<int> media;
    for (const PlacedFile& file : files)
        media.insert(file.medium);

    std::error_code error;
    fs::create_directories(target, error);
    if (error)
        Fail(target, error);

    const std::vector<Output> outputs = PlanOutputs(project, target, format, media);
    for (const Output& output : outputs) {
        if (!fs::exists(fs::symlink_status(output.final)))
            continue;
        if (!force)
            throw ExportExists(output.final.string());
        if (fs::is_directory(fs::symlink_status(output.final)) != (format == ExportFormat::Links))
            throw MediumExportError(output.final.string(), "is in the way and is not replaced");
        for (const PlacedFile& file : files) {
            for (const fs::path& path : {file.source, file.contents}) {
                const fs::path inside = path.lexically_relative(output.final);
                if (!inside.empty() && *inside.begin() != "..")
                    throw MediumExportError(output.final.string(), "holds a file to export");
            }
        }
    }

    // A ".part" left by an export that was cut off is ours to throw away.
    Progress tracker(progress, outputs.size());
    try {
        RemoveParts(outputs);
        for (size_t i = 0; i < outputs.size(); ++i) {
            tracker.Begin(i, outputs[i].final);
            Build(outputs[i], format, files, project, capacity, tracker);
        }
        tracker.Report(1);
    } catch (...) {
        RemoveParts(outputs);
        throw;
    }

    std::vector<std::string> written;
    for (const Output& output : outputs) {
        if (format == ExportFormat::Links)
            fs::remove_all(output.final, error);
        if (Files().Rename(output.part.c_str(), output.final.c_str()) != 0) {
            const std::error_code failure(errno, std::generic_category());
            RemoveParts(outputs);
            Fail(output.final, failure);
        }
        written.push_back(output.final.string());
    }
    return written;
}

}  // namespace zv
