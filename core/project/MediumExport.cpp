#include "core/project/MediumExport.h"

#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <system_error>

#include "core/platform/AtomicReplace.h"
#include "core/platform/FileOps.h"
#include "core/project/ExportManifest.h"
#include "core/project/IsoImage.h"
#include "core/project/PlacedEntry.h"
#include "core/project/QuotedPathList.h"
#include "core/project/Sha256.h"
#include "core/strings/JsonEscape.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

constexpr const char* kSums = "SHA256SUMS";
// Only the owner may look into the folder an image is made in.
constexpr fs::perms kPrivateFolder = fs::perms::owner_all;

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

// Files of a link folder that got something else than a hard link.
struct Unlinkable {
    size_t count = 0;
    std::string first;
    std::string reason;
};

// What one export knows while it writes.
struct Job {
    const std::vector<PlacedEntry>& entries;
    const std::vector<ProjectItem>& items;
    const std::string& project;
    double capacity;
    const ExportOptions& options;
    Progress& progress;
    Unlinkable unlinkable;
};

std::string MediumName(const std::string& project, int medium) {
    return project + (medium < 10 ? "_0" : "_") + std::to_string(medium);
}

[[noreturn]] void Fail(const fs::path& path, const std::error_code& error) {
    throw MediumExportError(path.string(), error.message());
}

[[noreturn]] void FailWithErrno(const fs::path& path) {
    Fail(path, std::error_code(errno, std::generic_category()));
}

void WriteText(const fs::path& path, const std::string& text, mode_t mode) {
    if (const Status written = WriteNewFile(path.string(), text, mode); !written.ok())
        throw MediumExportError(path.string(), written.code().message());
}

std::vector<const PlacedEntry*> OnMedium(const std::vector<PlacedEntry>& entries, int medium) {
    std::vector<const PlacedEntry*> held;
    for (const PlacedEntry& entry : entries) {
        if (medium == 0 || entry.medium == medium)
            held.push_back(&entry);
    }
    return held;
}

std::string ModeText(mode_t mode) {
    std::ostringstream text;
    text << '0' << std::oct << mode;
    return text.str();
}

// Says so when an output may be read by fewer people than usual.
void NoteMode(const Job& job, const fs::path& output, const std::vector<const PlacedEntry*>& held,
              mode_t mode) {
    if (mode == 0644 || !job.options.notice)
        return;
    std::string example;
    for (const PlacedEntry* entry : held) {
        if (entry->kind != EntryKind::Link && (0044 & ~entry->mode) != 0) {
            example = entry->source.string();
            break;
        }
    }
    job.options.notice("'" + output.filename().string() + "' is made with mode " + ModeText(mode) +
                       (mode == 0600 ? ", readable by its owner only" : "") +
                       ": it holds what not everyone may read, such as '" + example + "'");
}

// The digest of a whole file, read in pieces so that the export can be
// cancelled within a large one.
std::string HashContents(const fs::path& path, Progress& progress) {
    const std::optional<std::string> digest =
        FileSha256(path.string(), [&](size_t) { progress.CheckGoOn(); });
    if (!digest)
        throw MediumExportError(path.string(), "the file cannot be read");
    return *digest;
}

// A line of sha256sum's own format; a name with a backslash, a line break or
// a carriage return takes the escaped form that `sha256sum -c` reads back.
std::string SumLine(const std::string& hex, const std::string& name) {
    std::string escaped;
    for (const char c : name) {
        if (c == '\\') {
            escaped += "\\\\";
        } else if (c == '\n') {
            escaped += "\\n";
        } else if (c == '\r') {
            escaped += "\\r";
        } else {
            escaped += c;
        }
    }
    return (escaped == name ? "" : "\\") + hex + "  " + escaped + "\n";
}

// The medium's SHA256SUMS, checked from the medium's root: its files, as
// sha256sum checks no folder or link.
std::string MediumSums(const Job& job, int medium) {
    std::string sums;
    const std::vector<const PlacedEntry*> held = OnMedium(job.entries, medium);
    size_t done = 0;
    for (const PlacedEntry* entry : held) {
        // The catalog written under that name would take the entry's place.
        if (entry->relative == kSums)
            throw MediumExportError(entry->source.string(), "has the name of the medium's catalog");
        if (entry->kind == EntryKind::File)
            sums += SumLine(HashContents(entry->contents, job.progress),
                            entry->relative.generic_string());
        job.progress.Report(static_cast<double>(++done) / static_cast<double>(held.size()));
    }
    return sums;
}

void MakeParents(const fs::path& path) {
    std::error_code error;
    fs::create_directories(path.parent_path(), error);
    if (error)
        Fail(path.parent_path(), error);
}

// A hard link to the file; where the system refuses one (another user's
// file, another file system), a symbolic link to it or a copy of it.
void LinkFile(Job& job, const PlacedEntry& entry, const fs::path& link) {
    if (Files().Link(entry.contents.c_str(), link.c_str()) == 0)
        return;
    if (errno != EPERM && errno != EXDEV && errno != EACCES)
        FailWithErrno(link);
    if (job.unlinkable.count++ == 0) {
        job.unlinkable.first = entry.source.string();
        job.unlinkable.reason = std::strerror(errno);
    }
    if (job.options.copyUnlinkable) {
        if (const Status copied = CopyToNewFile(entry.contents.string(), link.string(), entry.mode);
            !copied.ok())
            throw MediumExportError(link.string(), copied.message());
        return;
    }
    std::error_code error;
    fs::create_symlink(entry.contents, link, error);
    if (error)
        Fail(link, error);
}

void BuildLinkFolder(Job& job, const fs::path& folder, int medium) {
    std::error_code error;
    fs::create_directory(folder, error);
    if (error)
        Fail(folder, error);
    const std::vector<const PlacedEntry*> held = OnMedium(job.entries, medium);
    for (const PlacedEntry* entry : held) {
        if (entry->relative == kSums)
            continue;
        const fs::path path = folder / entry->relative;
        MakeParents(path);
        switch (entry->kind) {
            case EntryKind::File:
                LinkFile(job, *entry, path);
                break;
            case EntryKind::Folder:
                fs::create_directory(path, error);
                break;
            case EntryKind::Link:
                fs::create_symlink(entry->linkTarget, path, error);
                break;
        }
        if (error)
            Fail(path, error);
    }
    const mode_t mode = MostRestrictiveMode(held);
    WriteText(folder / kSums, MediumSums(job, medium), mode);
}

// What xorriso reads to lay out the medium: files from their data, folders
// and links as themselves.
QuotedPathList MediumList(const Job& job, int medium) {
    QuotedPathList list;
    for (const PlacedEntry* entry : OnMedium(job.entries, medium)) {
        list.Add("/" + entry->relative.generic_string(),
                 (entry->kind == EntryKind::File ? entry->contents : entry->source).string());
    }
    return list;
}

std::string CatalogRow(const std::string& medium, const std::string& path, const char* kind,
                       const std::string& size, const std::string& sha256,
                       const std::string& target) {
    return medium + "," + CsvField(JsonEscaped(path)) + "," + kind + "," + size + "," + sha256 +
           "," + CsvField(JsonEscaped(target)) + "\n";
}

const char* KindName(EntryKind kind) {
    switch (kind) {
        case EntryKind::File:
            return "file";
        case EntryKind::Folder:
            return "folder";
        case EntryKind::Link:
            break;
    }
    return "link";
}

// Every member: where a medium holds it, its digest, and the members that
// are on no medium with their full paths.
std::string Catalog(const Job& job) {
    std::string csv = "medium,path,kind,size,sha256,link_target\n";
    size_t done = 0;
    for (const PlacedEntry& entry : job.entries) {
        const std::string sha256 =
            entry.kind == EntryKind::File ? HashContents(entry.contents, job.progress) : "";
        csv +=
            CatalogRow(std::to_string(entry.medium), entry.relative.generic_string(),
                       KindName(entry.kind), std::to_string(entry.size), sha256, entry.linkTarget);
        job.progress.Report(static_cast<double>(++done) / static_cast<double>(job.entries.size()));
    }
    for (const std::string& path : UnplacedPaths(job.items))
        csv += CatalogRow("unplaced", path, "", "", "", "");
    return csv;
}

// The folder beside an image that holds what xorriso reads besides the files,
// and the image until it is complete, where only its owner may look.
fs::path ImageWork(const Output& output) {
    return fs::path(output.part) += ".d";
}

void BuildImage(Job& job, const Output& output) {
    const fs::path work = ImageWork(output);
    std::error_code error;
    fs::create_directory(work, error);
    if (!error)
        fs::permissions(work, kPrivateFolder, error);
    if (error)
        Fail(work, error);
    const std::vector<const PlacedEntry*> held = OnMedium(job.entries, output.medium);
    const mode_t mode = MostRestrictiveMode(held);
    // Hashing reads every file once and xorriso reads them again: each takes
    // about half of the medium's time.
    QuotedPathList list = MediumList(job, output.medium);
    list.Add(std::string("/") + kSums, (work / kSums).string());
    job.progress.Stage(0, 0.5);
    WriteText(work / kSums, MediumSums(job, output.medium), mode);
    WriteText(work / "pathlist", list.Text(), 0600);
    job.progress.Stage(0.5, 0.5);
    const fs::path image = work / "image.iso";
    WriteIsoImage(
        image.string(), VolumeIdsFor(job.project, output.medium), (work / "pathlist").string(),
        [&](double done) { job.progress.Report(done); }, [&] { return job.progress.KeepGoing(); });
    fs::permissions(image, static_cast<fs::perms>(mode), error);
    if (error)
        Fail(image, error);
    const uintmax_t size = fs::file_size(image, error);
    if (error)
        Fail(output.part, error);
    if (job.capacity > 0 && static_cast<double>(size) > job.capacity) {
        throw MediumExportError(output.final.string(),
                                "the image takes " + std::to_string(size) +
                                    " bytes, more than the medium's capacity of " +
                                    std::to_string(static_cast<uintmax_t>(job.capacity)) +
                                    " bytes");
    }
    if (Files().Rename(image.c_str(), output.part.c_str()) != 0)
        FailWithErrno(output.part);
    fs::remove_all(work, error);
    NoteMode(job, output.final, held, mode);
}

void Build(Job& job, const Output& output, ExportFormat format) {
    const std::vector<const PlacedEntry*> held = OnMedium(job.entries, output.medium);
    const mode_t mode = MostRestrictiveMode(held);
    switch (format) {
        case ExportFormat::Links:
            BuildLinkFolder(job, output.part, output.medium);
            return;
        case ExportFormat::Lists:
            WriteText(output.part, MediumList(job, output.medium).Text(), mode);
            break;
        case ExportFormat::Catalog:
            WriteText(output.part, Catalog(job), mode);
            break;
        case ExportFormat::Iso:
            if (output.piece == Piece::Medium) {
                BuildImage(job, output);
                return;
            }
            // Written right after its image, which is still at its ".part".
            const fs::path image = fs::path(output.final).replace_extension();
            WriteText(output.part,
                      SumLine(HashContents(fs::path(image) += ".part", job.progress),
                              image.filename().string()),
                      mode);
            return;
    }
    NoteMode(job, output.final, held, mode);
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
            plan(name + ".quoted_path_list", medium);
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

// What the export has written at `path` below `target`, as its manifest names
// it: the path itself, and for a folder everything below it.
void ListWritten(const fs::path& target, const fs::path& path, const fs::path& onTarget,
                 std::vector<std::string>& written) {
    const bool folder = fs::is_directory(fs::symlink_status(path));
    written.push_back(onTarget.generic_string() + (folder ? "/" : ""));
    if (!folder)
        return;
    std::vector<fs::path> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(path))
        names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    for (const fs::path& name : names)
        ListWritten(target, path / name, onTarget / name, written);
}

// The files that must never be removed: the sources and the project file,
// each by its path with every link above it resolved.
std::set<fs::path> Untouchable(const std::vector<PlacedEntry>& entries,
                               const std::vector<ProjectItem>& items,
                               const std::string& projectFile) {
    std::set<fs::path> paths;
    auto keep = [&](const fs::path& path) {
        std::error_code ignored;
        const fs::path parent = fs::weakly_canonical(fs::absolute(path).parent_path(), ignored);
        paths.insert(parent / path.filename());
    };
    for (const PlacedEntry& entry : entries)
        keep(entry.source);
    for (const std::string& path : UnplacedPaths(items))
        keep(path);
    if (!projectFile.empty())
        keep(projectFile);
    return paths;
}

bool IsUntouchable(const std::set<fs::path>& untouchable, const fs::path& path) {
    std::error_code ignored;
    return untouchable.contains(fs::weakly_canonical(path.parent_path(), ignored) /
                                path.filename());
}

// Removes what the earlier export wrote, files first and then the folders
// from the deepest up; a folder that holds anything else stays, and so does
// anything untouchable.
void RemoveWritten(const fs::path& target, std::vector<std::string> written,
                   const std::set<fs::path>& untouchable) {
    // Files before folders, and a folder before the one that holds it, whose
    // name is shorter.
    std::sort(written.begin(), written.end(), [](const std::string& a, const std::string& b) {
        if (a.ends_with('/') != b.ends_with('/'))
            return b.ends_with('/');
        return a.size() > b.size();
    });
    for (const std::string& name : written) {
        const bool folder = name.ends_with('/');
        const fs::path path = target / fs::path(name).lexically_normal();
        struct stat info {};
        if (::lstat(path.c_str(), &info) != 0 || S_ISDIR(info.st_mode) != folder ||
            IsUntouchable(untouchable, path))
            continue;
        if (folder) {
            std::error_code ignored;
            fs::remove(path, ignored);
        } else if (Files().Unlink(path.c_str()) != 0 && errno != ENOENT) {
            FailWithErrno(path);
        }
    }
}

// The paths below `folder` that the earlier export did not write.
std::string FirstStranger(const fs::path& target, const fs::path& folder,
                          const std::set<std::string>& earlier) {
    std::vector<std::string> below;
    ListWritten(target, folder, folder.lexically_relative(target), below);
    for (const std::string& name : below) {
        if (!earlier.contains(name))
            return name;
    }
    return "";
}

std::optional<ExportManifest> ReadManifest(const fs::path& path) {
    if (!fs::exists(fs::symlink_status(path)))
        return std::nullopt;
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    std::optional<ExportManifest> manifest = ExportManifest::Parse(text.str());
    if (!in || !manifest)
        throw MediumExportError(path.string(), "is no manifest of an export and is not replaced");
    return manifest;
}

void WriteManifest(const fs::path& path, const ExportManifest& manifest, mode_t mode) {
    const fs::path part = fs::path(path) += ".part";
    std::error_code ignored;
    fs::remove(part, ignored);
    WriteText(part, manifest.Text(), mode);
    if (Files().Rename(part.c_str(), path.c_str()) != 0) {
        const std::error_code error(errno, std::generic_category());
        fs::remove(part, ignored);
        Fail(path, error);
    }
}

// Checks that every output there already may be replaced: only with force,
// and only what the earlier export of this project wrote.
void CheckReplaceable(const std::vector<Output>& outputs, const fs::path& target, bool force,
                      const std::set<std::string>& earlier, const std::set<fs::path>& untouchable) {
    // The outputs there already, by their paths with every link resolved, as
    // the untouchable files are named.
    std::map<fs::path, const Output*> there;
    for (const Output& output : outputs) {
        if (!fs::exists(fs::symlink_status(output.final)))
            continue;
        if (!force)
            throw ExportExists(output.final.string());
        std::error_code ignored;
        there[fs::weakly_canonical(output.final, ignored)] = &output;
    }
    for (const fs::path& path : untouchable) {
        for (fs::path folder = path; folder != folder.parent_path();
             folder = folder.parent_path()) {
            if (const auto at = there.find(folder); at != there.end())
                throw MediumExportError(at->second->final.string(), "holds a file to export");
        }
    }
    for (const auto& [canonical, output] : there) {
        std::string stranger = FirstStranger(target, output->final, earlier);
        if (!stranger.empty()) {
            if (stranger.ends_with('/'))
                stranger.pop_back();
            throw MediumExportError(
                (target / stranger).string(),
                "was not written by an earlier export of this project (no manifest names it); "
                "nothing is removed that the program did not write");
        }
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
                                     const std::string& project, const std::string& folder,
                                     ExportFormat format, bool force,
                                     const ExportProgress& progress, double capacity,
                                     const ExportOptions& options) {
    const std::vector<PlacedEntry> entries = PlacedEntries(items);
    if (entries.empty())
        throw MediumExportError(folder, "no file of the project is placed on a medium");
    std::set<int> media;
    for (const PlacedEntry& entry : entries)
        media.insert(entry.medium);

    // A relative target is taken from the current folder once, so that every
    // comparison below is between full paths.
    const fs::path target = fs::absolute(folder).lexically_normal();
    std::error_code error;
    fs::create_directories(target, error);
    if (error)
        Fail(target, error);

    const std::string owner =
        options.projectFile.empty() ? project : fs::absolute(options.projectFile).string();
    const fs::path manifestPath = target / ExportManifest::FileName(project, format);
    std::optional<ExportManifest> earlier = ReadManifest(manifestPath);
    if (earlier && earlier->project != owner)
        throw MediumExportError(manifestPath.string(), "records the export of another project, '" +
                                                           earlier->project +
                                                           "'; nothing of it is replaced");
    const std::set<std::string> earlierWritten =
        earlier ? std::set<std::string>(earlier->written.begin(), earlier->written.end())
                : std::set<std::string>();
    const std::set<fs::path> untouchable = Untouchable(entries, items, options.projectFile);
    const std::vector<Output> outputs = PlanOutputs(project, target, format, media);
    CheckReplaceable(outputs, target, force, earlierWritten, untouchable);

    Progress tracker(progress, outputs.size());
    Job job{entries, items, project, capacity, options, tracker, {}};
    // A ".part" left by an export that was cut off is ours to throw away.
    ExportManifest manifest{owner, format, {}, UnplacedPaths(items)};
    try {
        RemoveParts(outputs);
        for (size_t i = 0; i < outputs.size(); ++i) {
            tracker.Begin(i, outputs[i].final);
            Build(job, outputs[i], format);
        }
        tracker.Report(1);
        for (const Output& output : outputs)
            ListWritten(target, output.part, output.final.lexically_relative(target),
                        manifest.written);
        // Until the earlier outputs are gone, the manifest names them as well,
        // so that an export cut off on the way still knows them.
        ExportManifest both = manifest;
        if (earlier)
            both.written.insert(both.written.end(), earlier->written.begin(),
                                earlier->written.end());
        WriteManifest(manifestPath, both, MostRestrictiveMode(OnMedium(entries, 0)));
    } catch (...) {
        RemoveParts(outputs);
        throw;
    }

    std::vector<std::string> written;
    for (const Output& output : outputs) {
        if (fs::is_directory(fs::symlink_status(output.final))) {
            std::vector<std::string> old;
            ListWritten(target, output.final, output.final.lexically_relative(target), old);
            RemoveWritten(target, old, untouchable);
        }
        if (Files().Rename(output.part.c_str(), output.final.c_str()) != 0) {
            const std::error_code failure(errno, std::generic_category());
            RemoveParts(outputs);
            Fail(output.final, failure);
        }
        // Named as the caller named the target.
        written.push_back((fs::path(folder) / output.final.filename()).string());
    }

    // What the earlier export wrote and this one did not write again.
    const std::set<std::string> now(manifest.written.begin(), manifest.written.end());
    std::vector<std::string> stale;
    for (const std::string& name : earlierWritten) {
        if (!now.contains(name))
            stale.push_back(name);
    }
    // The outputs are in place: what fails from here on leaves the manifest
    // naming more than there is, which a later export passes over.
    try {
        RemoveWritten(target, stale, untouchable);
        WriteManifest(manifestPath, manifest, MostRestrictiveMode(OnMedium(entries, 0)));
    } catch (const MediumExportError& failure) {
        if (options.notice)
            options.notice(std::string("the outputs are in place, but ") + failure.what());
    }
    if (options.notice) {
        for (std::string name : stale) {
            if (name.ends_with('/'))
                name.pop_back();
            if (name.find('/') == std::string::npos)
                options.notice("removed '" + (target / name).string() +
                               "', which the earlier export of this project wrote");
        }
        if (job.unlinkable.count > 0)
            options.notice(std::to_string(job.unlinkable.count) +
                           " file(s) could not be hard-linked (" + job.unlinkable.reason +
                           ", first '" + job.unlinkable.first + "'); " +
                           (options.copyUnlinkable
                                ? "they are copies"
                                : "they are symbolic links to their files (--copy copies them)"));
    }
    return written;
}

const char* FormatName(ExportFormat format) {
    switch (format) {
        case ExportFormat::Links:
            return "links";
        case ExportFormat::Lists:
            return "lists";
        case ExportFormat::Catalog:
            return "catalog";
        case ExportFormat::Iso:
            break;
    }
    return "iso";
}

std::optional<ExportFormat> FormatNamed(const std::string& name) {
    for (const ExportFormat format :
         {ExportFormat::Links, ExportFormat::Lists, ExportFormat::Catalog, ExportFormat::Iso}) {
        if (name == FormatName(format))
            return format;
    }
    return std::nullopt;
}

}  // namespace zv
