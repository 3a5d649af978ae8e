#include "ui/InputMethodBackends.h"

#include <QFile>
#include <QMap>
#include <QProcess>
#include <QStandardPaths>

namespace ui {

namespace {

// Keyboard layouts are listed beside the input methods by both frameworks.
bool isPlainLayout(const QString& name) {
    return name.startsWith(QLatin1String("keyboard-")) || name.startsWith(QLatin1String("xkb:"));
}

QStringList withoutPlainLayouts(const QStringList& names) {
    QStringList result;
    for (const QString& name : names) {
        if (!isPlainLayout(name))
            result.append(name);
    }
    return result;
}

// fcitx5 writes a value in quotes, with backslash escapes, when it needs them.
QString unquoted(const QString& value) {
    if (value.size() < 2 || !value.startsWith(QLatin1Char('"')) ||
        !value.endsWith(QLatin1Char('"')))
        return value;
    QString result;
    const QString inner = value.mid(1, value.size() - 2);
    for (qsizetype i = 0; i < inner.size(); ++i) {
        QChar c = inner.at(i);
        if (c == QLatin1Char('\\') && i + 1 < inner.size()) {
            c = inner.at(++i);
            if (c == QLatin1Char('n'))
                c = QLatin1Char('\n');
        }
        result.append(c);
    }
    return result;
}

} // namespace

CommandResult runCommand(const QString& program, const QStringList& arguments, int timeoutMs) {
    QProcess process;
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments, QIODevice::ReadOnly);
    if (!process.waitForStarted(timeoutMs))
        return {};
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished(timeoutMs);
        return {};
    }
    CommandResult result;
    result.ok = process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    result.output = QString::fromLocal8Bit(process.readAllStandardOutput());
    return result;
}

Fcitx5Profile parseFcitx5Profile(const QString& text) {
    struct Group {
        QString name;
        QMap<int, QString> items; // by item number, so that the file's order does not matter
    };
    QMap<int, Group> groups;
    QMap<int, QString> order;

    enum class Section { Other, Group, Item, Order } section = Section::Other;
    int group = 0;
    int item = 0;
    for (const QString& rawLine : text.split(QLatin1Char('\n'))) {
        const QString line = rawLine.trimmed();
        if (line.isEmpty() || line.startsWith(QLatin1Char('#')))
            continue;
        if (line.startsWith(QLatin1Char('[')) && line.endsWith(QLatin1Char(']'))) {
            const QStringList path = line.mid(1, line.size() - 2).split(QLatin1Char('/'));
            bool groupOk = false;
            bool itemOk = false;
            section = Section::Other;
            if (path.size() == 1 && path[0] == QLatin1String("GroupOrder")) {
                section = Section::Order;
            } else if (path.size() >= 2 && path[0] == QLatin1String("Groups")) {
                group = path[1].toInt(&groupOk);
                if (groupOk && path.size() == 2)
                    section = Section::Group;
                else if (groupOk && path.size() == 4 && path[2] == QLatin1String("Items")) {
                    item = path[3].toInt(&itemOk);
                    if (itemOk)
                        section = Section::Item;
                }
            }
            continue;
        }
        const qsizetype equals = line.indexOf(QLatin1Char('='));
        if (equals < 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unquoted(line.mid(equals + 1).trimmed());
        if (section == Section::Order) {
            bool ok = false;
            const int position = key.toInt(&ok);
            if (ok)
                order.insert(position, value);
        } else if (key == QLatin1String("Name")) {
            if (section == Section::Group)
                groups[group].name = value;
            else if (section == Section::Item && !value.isEmpty())
                groups[group].items.insert(item, value);
        }
    }

    // Groups in the user's order; groups the order does not name follow by number.
    QList<int> sequence;
    for (const QString& name : std::as_const(order)) {
        for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
            if (it->name == name && !sequence.contains(it.key()))
                sequence.append(it.key());
        }
    }
    for (auto it = groups.cbegin(); it != groups.cend(); ++it) {
        if (!sequence.contains(it.key()))
            sequence.append(it.key());
    }

    Fcitx5Profile profile;
    for (int number : std::as_const(sequence)) {
        const Group& g = groups[number];
        if (profile.defaultItem.isEmpty() && !g.items.isEmpty())
            profile.defaultItem = g.items.first();
        for (const QString& name : g.items) {
            if (!profile.items.contains(name))
                profile.items.append(name);
        }
    }
    return profile;
}

Fcitx5Backend::Fcitx5Backend(QString remoteProgram, QString profilePath)
    : m_remote(std::move(remoteProgram))
    , m_profilePath(std::move(profilePath)) {}

QString Fcitx5Backend::defaultProfilePath() {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/fcitx5/profile");
}

Fcitx5Profile Fcitx5Backend::profile() const {
    // Read each time: the user may add a method while the program runs.
    QFile file(m_profilePath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return parseFcitx5Profile(QString::fromUtf8(file.readAll()));
}

QStringList Fcitx5Backend::installed() {
    return withoutPlainLayouts(profile().items);
}

QString Fcitx5Backend::defaultName() {
    return profile().defaultItem;
}

void Fcitx5Backend::activate(const QString& name) {
    runCommand(m_remote, {QStringLiteral("-s"), name});
}

void Fcitx5Backend::activateDefault() {
    const QString name = defaultName();
    if (name.isEmpty())
        runCommand(m_remote, {QStringLiteral("-c")});
    else
        activate(name);
}

QStringList parseIBusEngineList(const QString& output) {
    const QStringList lines = output.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    // The long form indents each "name - description" under an unindented language line.
    bool indented = false;
    for (const QString& line : lines) {
        if (line.at(0).isSpace() && !line.trimmed().isEmpty())
            indented = true;
    }
    QStringList names;
    for (const QString& line : lines) {
        if (indented && !line.at(0).isSpace())
            continue;
        const QString name = line.trimmed().section(QLatin1String(" - "), 0, 0).trimmed();
        if (!name.isEmpty() && !names.contains(name))
            names.append(name);
    }
    return names;
}

IBusBackend::IBusBackend(QString ibusProgram, QString startEngine)
    : m_ibus(std::move(ibusProgram))
    , m_startEngine(std::move(startEngine)) {}

QStringList IBusBackend::installed() {
    // Listing engines is slow with IBus; once per run is enough.
    if (!m_listed) {
        m_listed = true;
        CommandResult result =
            runCommand(m_ibus, {QStringLiteral("list-engine"), QStringLiteral("--name-only")});
        if (!result.ok) // versions before --name-only
            result = runCommand(m_ibus, {QStringLiteral("list-engine")});
        if (result.ok)
            m_engines = withoutPlainLayouts(parseIBusEngineList(result.output));
    }
    return m_engines;
}

void IBusBackend::activate(const QString& name) {
    runCommand(m_ibus, {QStringLiteral("engine"), name});
}

void IBusBackend::activateDefault() {
    if (!m_startEngine.isEmpty())
        activate(m_startEngine);
}

std::unique_ptr<InputMethodBackend> detectInputMethodBackend() {
    const QString remote = QStandardPaths::findExecutable(QStringLiteral("fcitx5-remote"));
    if (!remote.isEmpty()) {
        const CommandResult state = runCommand(remote, {});
        if (state.ok && !state.output.trimmed().isEmpty())
            return std::make_unique<Fcitx5Backend>(remote, Fcitx5Backend::defaultProfilePath());
    }
    const QString ibus = QStandardPaths::findExecutable(QStringLiteral("ibus"));
    if (!ibus.isEmpty()) {
        const CommandResult engine = runCommand(ibus, {QStringLiteral("engine")});
        const QString name = engine.output.trimmed();
        if (engine.ok && !name.isEmpty() && !name.contains(QLatin1Char('\n')))
            return std::make_unique<IBusBackend>(ibus, name);
    }
    return std::make_unique<NullInputMethodBackend>();
}

} // namespace ui
