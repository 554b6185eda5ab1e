#include "HeadlessCommand.h"

#include <QRegularExpression>
#include <optional>

#include "BatchDriver.h"
#include "ProgramFolder.h"
#include "QualityChoices.h"
#include "SettingsFile.h"

namespace {

const char* const kUsage =
    "usage: tessaro --drop INDEX [--folder DIR] [--width N] [--height N]\n"
    "               [--keep-proportions] [--lock-width|--lock-height] [--name-with-size]\n"
    "               [--quality Q] [--subsampling H:V] [--greyscale] [--comment TEXT] FILE...\n"
    "\n"
    "Runs one batch as a drop of FILE... on target INDEX would, without a window:\n"
    "  0 = 320x240, 1 = 640x480, 2 = 800x600, 3 = 1024x768, 4 = custom (--width x --height,\n"
    "  default 1280x960). Outputs go to DIR/Elaborate (DIR defaults to the program folder);\n"
    "  settings come from DIR/resizer.cfg and the flags override them for this run only.\n"
    "Exit status: 0 all accepted files done, 1 the batch stopped, 2 bad arguments.\n";

struct Options {
    int drop = -1;
    QString folder;
    QString width = "1280";
    QString height = "960";
    bool keepProportions = false;
    bool lockWidth = false;
    bool lockHeight = false;
    bool nameWithSize = false;
    std::optional<int> quality;
    std::optional<std::pair<int, int>> subsampling;
    bool greyscale = false;
    std::optional<QString> comment;
    QStringList files;
    bool help = false;
};

bool isDigits(const QString& s) {
    static const QRegularExpression digits("^[0-9]+$");
    return digits.match(s).hasMatch();
}

// Fills `o`; returns an error text for bad arguments, empty when all is well.
QString parse(const QStringList& args, Options& o) {
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        const auto value = [&](QString& into) -> bool {
            if (i + 1 >= args.size())
                return false;
            into = args[++i];
            return true;
        };
        QString v;
        if (a == "--help" || a == "-h") {
            o.help = true;
        } else if (a == "--drop") {
            if (!value(v) || !isDigits(v) || v.toInt() > 4)
                return "--drop takes 0 to 4";
            o.drop = v.toInt();
        } else if (a == "--folder") {
            if (!value(o.folder) || o.folder.isEmpty())
                return "--folder takes a folder";
        } else if (a == "--width" || a == "--height") {
            if (!value(v) || !isDigits(v))
                return a + " takes digits only";
            (a == "--width" ? o.width : o.height) = v;
        } else if (a == "--keep-proportions") {
            o.keepProportions = true;
        } else if (a == "--lock-width") {
            o.lockWidth = true;
        } else if (a == "--lock-height") {
            o.lockHeight = true;
        } else if (a == "--name-with-size") {
            o.nameWithSize = true;
        } else if (a == "--quality") {
            if (!value(v) || !isDigits(v) || v.size() > 3 || v.toInt() < 1 || v.toInt() > 100) {
                return "--quality takes 1 to 100";
            }
            o.quality = v.toInt();
        } else if (a == "--subsampling") {
            static const QRegularExpression hv("^([1-4]):([1-4])$");
            const auto m = hv.match(value(v) ? v : QString());
            if (!m.hasMatch())
                return "--subsampling takes H:V with H and V from 1 to 4";
            o.subsampling = std::make_pair(m.captured(1).toInt(), m.captured(2).toInt());
        } else if (a == "--greyscale") {
            o.greyscale = true;
        } else if (a == "--comment") {
            if (!value(v))
                return "--comment takes a text";
            o.comment = v;
        } else if (a == "--") {
            o.files.append(args.mid(i + 1));
            break;
        } else if (a.startsWith("--")) {
            return "unknown option " + a;
        } else {
            o.files.append(a);
        }
    }
    if (o.help)
        return {};
    if (o.drop < 0)
        return "--drop is required";
    if (o.lockWidth && o.lockHeight)
        return "--lock-width and --lock-height exclude each other";
    if (o.files.isEmpty())
        return "no files to drop";
    return {};
}

void applyOverrides(const Options& o, Settings& s) {
    if (o.keepProportions)
        s.KeepProportions = true;
    if (o.lockWidth) {
        s.LockWidth = true;
        s.LockHeight = false;
    }
    if (o.lockHeight) {
        s.LockHeight = true;
        s.LockWidth = false;
    }
    if (o.nameWithSize)
        s.NameWithSize = true;
    if (o.quality)
        s.Quality = *o.quality;
    if (o.subsampling) {
        s.SampleH = o.subsampling->first;
        s.SampleV = o.subsampling->second;
        s.GreyscaleOn = false;
    }
    if (o.greyscale)
        qualitychoices::ApplySubSample(s, s.SubSampleIndex, true);
    if (o.comment)
        s.Comment = o.comment->trimmed();
}

}  // namespace

bool WantsHeadless(const QStringList& arguments) {
    return arguments.contains("--drop") || arguments.contains("--help") || arguments.contains("-h");
}

int RunHeadless(const QStringList& arguments, QTextStream& out, QTextStream& err) {
    Options o;
    const QString problem = parse(arguments, o);
    if (o.help && problem.isEmpty()) {
        out << kUsage;
        return 0;
    }
    if (!problem.isEmpty()) {
        err << "tessaro: " << problem << "\n" << kUsage;
        return 2;
    }

    const QString folder =
        o.folder.isEmpty() ? programfolder::Resolve() : programfolder::WritableOr(o.folder);
    Settings settings;
    settingsfile::LoadSettings(folder, settings);
    qualitychoices::ApplyStartupDefaults(settings);
    applyOverrides(o, settings);

    BatchDriver driver(folder, settings);
    driver.setCustomSize(o.width, o.height);
    const BatchReport report = driver.Run(static_cast<int16_t>(o.drop), o.files);

    out << report.written << " written, " << report.unchanged << " unchanged (already there), "
        << report.skipped << " skipped by name; output folder: " << report.outputFolder << "\n";
    if (report.failure) {
        err << "tessaro: stopped at " << report.failure->file << ": error "
            << report.failure->number << ": " << report.failure->text << "\n";
        return 1;
    }
    return 0;
}
