#include "HeadlessCommand.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <csignal>
#include <optional>

#include "BatchDriver.h"
#include "FileName.h"
#include "OwnChoices.h"
#include "ProgramFolder.h"
#include "QualityChoices.h"
#include "SettingsFile.h"
#include "StopSignals.h"
#include "TerminalProgress.h"

namespace {

const char* const kUsage =
    "usage: tessaro --drop INDEX [--folder DIR] [--width N] [--height N]\n"
    "               [--[no-]keep-proportions] [--lock-width|--lock-height]\n"
    "               [--[no-]name-with-size] [--quality Q] [--subsampling H:V]\n"
    "               [--[no-]greyscale] [--comment TEXT|--no-comment] [--[no-]smooth]\n"
    "               [--[no-]keep-metadata] [--[no-]keep-gps] [--[no-]keep-date]\n"
    "               [--[no-]never-enlarge] [--[no-]keep-going] [--jobs N] FILE...\n"
    "       tessaro --help | --version\n"
    "\n"
    "Runs one batch as a drop of FILE... on target INDEX would, without a window:\n"
    "  0 = 320x240, 1 = 640x480, 2 = 800x600, 3 = 1024x768, 4 = custom (--width x --height,\n"
    "  default the window's last custom size, 1280x960 at first). Outputs go to DIR/Elaborate\n"
    "  (DIR defaults to the program folder); settings come from DIR/resizer.cfg and\n"
    "  DIR/tessaro.ini, and the flags override them, on or off, for this run only.\n"
    "  --jobs N prepares N files at once (default: one per core); outputs are always\n"
    "  written in the order given.\n"
    "  --smooth resizes with a smoothing filter instead of point sampling.\n"
    "  --keep-metadata carries the Exif data of JPEG photos into their outputs, without the\n"
    "  GPS position unless --keep-gps; --keep-date gives each output its input's modification\n"
    "  time; --never-enlarge leaves a picture smaller than the canvas both ways at its own\n"
    "  size; --keep-going reports a file that fails on stderr and goes on with the next.\n"
    "Exit status: 0 all accepted files done, 1 the batch stopped or a file failed,\n"
    "  2 bad arguments, 130 or 143 stopped by SIGINT or SIGTERM after the file in hand.\n";

// A saved choice a flag can switch on or off for one run; unset keeps the saved value.
using Switch = std::optional<bool>;

struct Options {
    int drop = -1;
    QString folder;
    QString width;  // empty: the saved custom size
    QString height;
    Switch keepProportions;
    bool lockWidth = false;
    bool lockHeight = false;
    Switch nameWithSize;
    std::optional<int> quality;
    std::optional<std::pair<int, int>> subsampling;
    Switch greyscale;
    Switch smooth;
    std::optional<QString> comment;
    Switch keepMetadata;
    Switch keepGps;
    Switch keepDate;
    Switch neverEnlarge;
    Switch keepGoing;
    int jobs = 0;  // one per core
    QStringList files;
    bool help = false;
    bool version = false;
};

bool isDigits(const QString& s) {
    static const QRegularExpression digits("^[0-9]+$");
    return digits.match(s).hasMatch();
}

// `--NAME` and `--no-NAME` as one switch; both at once is a usage error.
QString readSwitch(const QCommandLineParser& p, const QString& name, Switch& into) {
    const bool on = p.isSet(name);
    const bool off = p.isSet("no-" + name);
    if (on && off)
        return "--" + name + " and --no-" + name + " exclude each other";
    if (on || off)
        into = on;
    return {};
}

// Fills `o`; returns an error text naming the offending argument, empty when all is well.
QString parse(const QStringList& args, Options& o) {
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QStringList valued = {"drop",    "folder",      "width",   "height",
                                "quality", "subsampling", "comment", "jobs"};
    for (const QString& name : valued)
        p.addOption(QCommandLineOption(name, name, "value"));
    for (const char* name : {"keep-proportions", "name-with-size", "greyscale", "keep-metadata",
                             "keep-gps", "keep-date", "never-enlarge", "keep-going", "smooth"}) {
        p.addOption(QCommandLineOption(name, name));
        p.addOption(QCommandLineOption("no-" + QString(name), name));
    }
    for (const char* name : {"lock-width", "lock-height", "no-comment", "version"})
        p.addOption(QCommandLineOption(name, name));
    p.addOption(QCommandLineOption({"h", "help"}, "help"));
    if (!p.parse(QStringList{"tessaro"} + args))
        return p.errorText();
    for (const QString& name : valued) {
        if (p.values(name).size() > 1)
            return "--" + name + " is given more than once";
    }

    o.help = p.isSet("help");
    o.version = p.isSet("version");
    if (o.help || o.version)
        return {};
    const QString drop = p.value("drop");
    if (!p.isSet("drop"))
        return "--drop is required";
    if (!isDigits(drop) || drop.size() > 1 || drop.toInt() > 4)
        return "--drop takes 0 to 4, not '" + drop + "'";
    o.drop = drop.toInt();
    if (p.isSet("folder")) {
        o.folder = p.value("folder");
        if (o.folder.isEmpty())
            return "--folder takes a folder";
    }
    for (const char* side : {"width", "height"}) {
        if (!p.isSet(side))
            continue;
        const QString v = p.value(side);
        if (!isDigits(v))
            return QString("--%1 takes digits only, not '%2'").arg(side, v);
        (QString(side) == "width" ? o.width : o.height) = v;
    }
    if (p.isSet("quality")) {
        const QString v = p.value("quality");
        if (!isDigits(v) || v.size() > 3 || v.toInt() < 1 || v.toInt() > 100)
            return "--quality takes 1 to 100, not '" + v + "'";
        o.quality = v.toInt();
    }
    if (p.isSet("jobs")) {
        const QString v = p.value("jobs");
        if (!isDigits(v) || v.size() > 3 || v.toInt() < 1)
            return "--jobs takes 1 to 999, not '" + v + "'";
        o.jobs = v.toInt();
    }
    if (p.isSet("subsampling")) {
        static const QRegularExpression hv("^([1-4]):([1-4])$");
        const QString v = p.value("subsampling");
        const auto m = hv.match(v);
        if (!m.hasMatch())
            return "--subsampling takes H:V with H and V from 1 to 4, not '" + v + "'";
        o.subsampling = std::make_pair(m.captured(1).toInt(), m.captured(2).toInt());
    }
    for (const auto& [name, into] :
         {std::pair{"keep-proportions", &o.keepProportions},
          std::pair{"name-with-size", &o.nameWithSize}, std::pair{"greyscale", &o.greyscale},
          std::pair{"keep-metadata", &o.keepMetadata}, std::pair{"keep-gps", &o.keepGps},
          std::pair{"keep-date", &o.keepDate}, std::pair{"never-enlarge", &o.neverEnlarge},
          std::pair{"keep-going", &o.keepGoing}, std::pair{"smooth", &o.smooth}}) {
        if (QString problem = readSwitch(p, name, *into); !problem.isEmpty())
            return problem;
    }
    if (p.isSet("comment") && p.isSet("no-comment"))
        return "--comment and --no-comment exclude each other";
    if (p.isSet("comment"))
        o.comment = p.value("comment");
    if (p.isSet("no-comment"))
        o.comment = QString();
    o.lockWidth = p.isSet("lock-width");
    o.lockHeight = p.isSet("lock-height");
    if (o.lockWidth && o.lockHeight)
        return "--lock-width and --lock-height exclude each other";
    o.files = p.positionalArguments();
    if (o.files.isEmpty())
        return "no files to drop";
    return {};
}

void applyOverrides(const Options& o, Settings& s) {
    if (o.keepProportions)
        s.KeepProportions = *o.keepProportions;
    if (o.lockWidth) {
        s.LockWidth = true;
        s.LockHeight = false;
    }
    if (o.lockHeight) {
        s.LockHeight = true;
        s.LockWidth = false;
    }
    if (o.nameWithSize)
        s.NameWithSize = *o.nameWithSize;
    if (o.quality)
        s.Quality = *o.quality;
    if (o.subsampling) {
        s.SampleH = o.subsampling->first;
        s.SampleV = o.subsampling->second;
        s.GreyscaleOn = false;
    }
    if (o.greyscale == true) {
        qualitychoices::ApplySubSample(s, s.SubSampleIndex, true);
    } else if (o.greyscale == false && s.GreyscaleOn) {
        // Back to the colour factors of the saved list entry, as unchecking the box does.
        const bool listed = s.SubSampleIndex >= 0 && s.SubSampleIndex < 16;
        qualitychoices::ApplySubSample(s, listed ? s.SubSampleIndex : qualitychoices::kDefaultEntry,
                                       false);
    }
    if (o.comment)
        s.Comment = qualitychoices::TrimComment(*o.comment);
}

void applyOverrides(const Options& o, OwnChoices& c) {
    for (const auto& [flag, choice] :
         {std::pair{&o.keepMetadata, &c.KeepMetadata}, std::pair{&o.keepGps, &c.KeepGps},
          std::pair{&o.keepDate, &c.KeepDate}, std::pair{&o.neverEnlarge, &c.NeverEnlarge},
          std::pair{&o.keepGoing, &c.KeepGoing}, std::pair{&o.smooth, &c.Smooth}}) {
        if (*flag)
            *choice = **flag;
    }
}

}  // namespace

bool WantsHeadless(const QStringList& arguments) {
    // Qt's own window options (and the value that follows some of them) open the window; any
    // other argument is a headless call, so files are never silently ignored by the window.
    static const QStringList withValue = {"-platform",        "-platformpluginpath",
                                          "-platformtheme",   "-plugin",
                                          "-qwindowgeometry", "-qwindowtitle",
                                          "-qwindowicon",     "-style",
                                          "-stylesheet",      "-display",
                                          "-geometry",        "-title",
                                          "-session"};
    static const QStringList bare = {"-reverse", "-nograb",      "-dograb",
                                     "-sync",    "-widgetcount", "-qdebug"};
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& a = arguments[i];
        if (withValue.contains(a))
            ++i;
        else if (!bare.contains(a))
            return true;
    }
    return false;
}

int RunHeadless(const QStringList& arguments, QTextStream& out, QTextStream& err,
                bool errIsTerminal) {
    Options o;
    const QString problem = parse(arguments, o);
    if (o.help && problem.isEmpty()) {
        out << kUsage;
        return 0;
    }
    if (o.version && problem.isEmpty()) {
        out << "tessaro " << TESSARO_VERSION << "\n";
        return 0;
    }
    if (!problem.isEmpty()) {
        err << "tessaro: " << problem << "\n" << kUsage;
        return 2;
    }

    const QString folder = programfolder::Resolve(o.folder);
    Settings settings;
    settingsfile::LoadSettings(folder, settings);
    qualitychoices::ApplyStartupDefaults(settings);
    applyOverrides(o, settings);
    OwnChoices choices;
    ownchoices::Load(folder, choices);
    applyOverrides(o, choices);

    TerminalProgress progress(err);
    BatchHost host;
    if (errIsTerminal)
        host.progress = [&progress](int done, int accepted) { progress.show(done, accepted); };
    const StopSignals stopSignals;
    host.stopRequested = [] { return StopSignals::received() != 0; };
    host.fileNote = [&err](const QString& file, const QString& note) {
        err << "tessaro: warning: " << file << ": " << note << "\n";
    };
    BatchDriver driver(folder, settings, host);
    driver.setCustomSize(o.width.isEmpty() ? choices.CustomWidth : o.width,
                         o.height.isEmpty() ? choices.CustomHeight : o.height);
    driver.setJobs(o.jobs);
    driver.setChoices(choices);
    const BatchReport report = driver.Run(static_cast<int16_t>(o.drop), o.files);
    progress.finish();

    for (const BatchFailure& f : report.failures)
        filename::Write(err, QString("tessaro: failed %1: error %2: %3\n")
                                 .arg(f.file, QString::number(f.number), f.text));
    const qsizetype failed = report.failures.size() + (report.failure ? 1 : 0);
    out << report.written << " written, " << report.unchanged << " unchanged (already there), "
        << failed << " failed, " << report.skipped
        << " skipped by name; output folder: " << report.outputFolder << "\n";
    if (report.failure) {
        filename::Write(err, QString("tessaro: stopped at %1: error %2: %3\n")
                                 .arg(report.failure->file, QString::number(report.failure->number),
                                      report.failure->text));
        return 1;
    }
    if (const int signal = StopSignals::received(); signal != 0) {
        err << "tessaro: stopped by " << (signal == SIGINT ? "SIGINT" : "SIGTERM") << " after "
            << report.written + report.unchanged << " of " << report.accepted.size() << " files\n";
        return 128 + signal;
    }
    return report.failures.isEmpty() ? 0 : 1;
}
