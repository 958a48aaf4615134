// Where the session records of a test go. XDG_DATA_HOME is process-wide, so it
// is set for an object's lifetime and put back even when an assertion ends the
// test early.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QString>
#include <QTemporaryDir>

// Points XDG_DATA_HOME at `path` (a folder, or something that cannot be one).
class DataHome {
  public:
    explicit DataHome(const QString& path)
        : wasSet_(qEnvironmentVariableIsSet("XDG_DATA_HOME")), saved_(qgetenv("XDG_DATA_HOME")) {
        qputenv("XDG_DATA_HOME", path.toLocal8Bit());
    }
    ~DataHome() {
        if (wasSet_)
            qputenv("XDG_DATA_HOME", saved_);
        else
            qunsetenv("XDG_DATA_HOME");
    }
    DataHome(const DataHome&) = delete;
    DataHome& operator=(const DataHome&) = delete;

  private:
    bool wasSet_;
    QByteArray saved_;
};

// An empty temporary folder as XDG_DATA_HOME.
class TempDataHome : public QTemporaryDir {
  public:
    QString logsFolder() const { return filePath(QStringLiteral("MeterBench/logs")); }
    // The paths of the session records written here, oldest name first.
    QStringList records() const {
        const QDir logs(logsFolder());
        QStringList paths;
        for (const QString& name : logs.entryList({QStringLiteral("*.jsonl")}, QDir::Files, QDir::Name))
            paths << logs.filePath(name);
        return paths;
    }

  private:
    DataHome home_{path()};
};
