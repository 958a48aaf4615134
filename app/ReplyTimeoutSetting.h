// How long to wait for a reply before saying there was none: the user's
// choice in seconds, or the default for the line (computed by its user),
// remembered across runs.
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QSettings;

class ReplyTimeoutSetting : public QObject {
    Q_OBJECT
  public:
    static constexpr double kMinSeconds = 0.1;
    static constexpr double kMaxSeconds = 60.0;

    // Kept in the user's settings of MeterBench.
    explicit ReplyTimeoutSetting(QObject* parent = nullptr);
    // Kept in the INI file `path` (for tests).
    explicit ReplyTimeoutSetting(const QString& path, QObject* parent = nullptr);
    ~ReplyTimeoutSetting() override;

    // The chosen timeout; nullopt: the default.
    std::optional<double> seconds() const { return seconds_; }
    // Stores `seconds`, brought into [kMinSeconds, kMaxSeconds]; nullopt
    // returns to the default.
    void set(std::optional<double> seconds);

  signals:
    void changed();

  private:
    void load();

    std::unique_ptr<QSettings> settings_;
    std::optional<double> seconds_;
};
