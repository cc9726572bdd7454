#include "core/project/MediumExport.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>
#include <system_error>

#include "core/project/Sha256.h"

namespace fs = std::filesystem;

namespace zv {

namespace {

struct PlacedFile {
    int medium;
    fs::path source;
    fs::path relative;  // below the common folder: the path on the medium
    uintmax_t size;
};

// One piece of output, built at `part` and renamed to `final` at the end.
struct Output {
    fs::path final;
    fs::path part;
};

std::string MediumName(const std::string& project, int medium) {
    return project + (medium < 10 ? "_0" : "_") + std::to_string(medium);
}

[[noreturn]] void Fail(const fs::path& path, const std::error_code& error) {
    throw MediumExportError(path.string(), error.message());
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out)
        throw MediumExportError(path.string(), std::strerror(errno));
    out << text;
    out.close();
    if (!out)
        throw MediumExportError(path.string(), "could not be written to its end (disk full?)");
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
            const uintmax_t size = fs::file_size(source, error);
            if (error)
                Fail(source, error);
            files.push_back({item.medium, source, {}, size});
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

void BuildLinkFolder(const fs::path& folder, const std::vector<PlacedFile>& files, int medium) {
    std::error_code error;
    std::string sums;
    for (const PlacedFile& file : files) {
        if (file.medium != medium)
            continue;
        // Writing the catalog through a link of that name would overwrite its
        // source file.
        if (file.relative == "SHA256SUMS")
            throw MediumExportError(file.source.string(), "has the name of the medium's catalog");
        const fs::path link = folder / file.relative;
        fs::create_directories(link.parent_path(), error);
        if (error)
            Fail(link.parent_path(), error);
        fs::create_hard_link(file.source, link, error);
        if (error == std::errc::cross_device_link)
            fs::create_symlink(file.source, link, error);
        if (error)
            Fail(link, error);
        std::string hex;
        if (!HashFile(file.source.string(), hex))
            throw MediumExportError(file.source.string(), "the file cannot be read");
        sums += SumLine(hex, file.relative.generic_string());
    }
    WriteText(folder / "SHA256SUMS", sums);
}

std::string PathList(const std::vector<PlacedFile>& files, int medium) {
    std::string list;
    for (const PlacedFile& file : files) {
        if (file.medium != medium)
            continue;
        // xorriso reads one entry a line and has no escape for a line break.
        if (file.source.string().find('\n') != std::string::npos)
            throw MediumExportError(file.source.string(), "a path list cannot hold a line break");
        list += PathListSide("/" + file.relative.generic_string()) + "=" +
                PathListSide(file.source.string()) + "\n";
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

void Build(const Output& output, ExportFormat format, const std::vector<PlacedFile>& files,
           int medium) {
    std::error_code error;
    switch (format) {
        case ExportFormat::Links:
            fs::create_directory(output.part, error);
            if (error)
                Fail(output.part, error);
            BuildLinkFolder(output.part, files, medium);
            break;
        case ExportFormat::Lists:
            WriteText(output.part, PathList(files, medium));
            break;
        case ExportFormat::Catalog:
            WriteText(output.part, Catalog(files));
            break;
    }
}

}  // namespace

std::string CommonFolder(const std::vector<std::string>& paths) {
    if (paths.empty())
        return {};
    fs::path common = fs::path(paths[0]).parent_path();
    for (const std::string& path : paths) {
        const fs::path folder = fs::path(path).parent_path();
        fs::path shared;
        auto a = common.begin();
        auto b = folder.begin();
        for (; a != common.end() && b != folder.end() && *a == *b; ++a, ++b)
            shared /= *a;
        common = shared;
    }
    return common.string();
}

std::string PathListSide(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        if (c == '\\' || c == '=')
            escaped += '\\';
        escaped += c;
    }
    return escaped;
}

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
                                     ExportFormat format, bool force) {
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

    std::vector<std::pair<Output, int>> outputs;
    auto plan = [&](const std::string& name, int medium) {
        const fs::path final = fs::path(target) / name;
        outputs.push_back({{final, fs::path(final) += ".part"}, medium});
    };
    if (format == ExportFormat::Catalog) {
        plan(project + "_catalog.csv", 0);
    } else {
        for (const int medium : media)
            plan(MediumName(project, medium) + (format == ExportFormat::Lists ? ".pathlist" : ""),
                 medium);
    }

    for (const auto& [output, medium] : outputs) {
        if (!fs::exists(fs::symlink_status(output.final)))
            continue;
        if (!force)
            throw MediumExportError(output.final.string(), "exists already");
        if (fs::is_directory(fs::symlink_status(output.final)) != (format == ExportFormat::Links))
            throw MediumExportError(output.final.string(), "is in the way and is not replaced");
        for (const PlacedFile& file : files) {
            const fs::path inside = file.source.lexically_relative(output.final);
            if (!inside.empty() && *inside.begin() != "..")
                throw MediumExportError(output.final.string(), "holds a file to export");
        }
    }

    // A ".part" left by an export that was cut off is ours to throw away.
    try {
        for (const auto& [output, medium] : outputs) {
            fs::remove_all(output.part, error);
            if (error)
                Fail(output.part, error);
            Build(output, format, files, medium);
        }
    } catch (const MediumExportError&) {
        for (const auto& [output, medium] : outputs)
            fs::remove_all(output.part, error);
        throw;
    }

    std::vector<std::string> written;
    for (const auto& [output, medium] : outputs) {
        if (format == ExportFormat::Links)
            fs::remove_all(output.final, error);
        fs::rename(output.part, output.final, error);
        if (error)
            Fail(output.final, error);
        written.push_back(output.final.string());
    }
    return written;
}

}  // namespace zv
