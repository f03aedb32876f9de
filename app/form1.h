#pragma once
// Ovelsk's one window. Its controls are the program's state: the range box holds
// the range, the status label the status line, the list the candidate rows and
// the invisible applicationDir label the program's folder. The work itself lives
// in StationTracker and the host files; the window shows it.

#include <QMainWindow>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "app/companion.h"
#include "app/range_settings.h"
#include "app/startup_options.h"
#include "radar/radar_sweep.h"
#include "stations/tracker_window.h"

class QCheckBox;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QTimer;

namespace ovelsk {

class RadarView;

class Form1 final : public QMainWindow, public TrackerWindow {
    Q_OBJECT

public:
    // Builds the window and its controls; Form_Load then starts the program.
    explicit Form1(StartupOptions options, QWidget* parent = nullptr);
    ~Form1() override;

    // The start-up sequence, run once before the window is first shown. Stops
    // and says why when the host cannot be made or another Ovelsk already keeps
    // the same host folder; the program then ends.
    [[nodiscard]] std::optional<std::string> Form_Load();

    std::string rangeText() const override;
    void setStatus(const std::string& text) override;
    void replaceCandidateRows(const std::vector<std::string>& rows) override;

    // What the window shows and the status page reads.
    Companion& companion() { return companion_; }
    const Companion& companion() const { return companion_; }
    DateTime neverHeard() const { return companion_.neverHeard(); }
    const std::string& hostFolder() const { return companion_.hostFolder(); }
    // Null before Form_Load.
    const StationTracker* tracker() const { return companion_.tracker(); }
    const HostApplication* host() const { return companion_.host(); }

signals:
    // Every status line the window sets, also when the text repeats.
    void statusChanged(const QString& text);

private:
    void buildControls();
    RadarView* createPicture3(QWidget* container);
    void placeStatusStrip();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void LoadSettings();

    void Command1_Click();
    void range_Change();
    void Timer1_radar_Timer();

    std::filesystem::path programFolder() const;
    RangeSettingsFolders rangeSettingsFolders() const;

    StartupOptions options_;
    Companion companion_;
    RadarSweep radar_;

    QWidget* client_ = nullptr;
    QFrame* Picture5_ = nullptr;
    QCheckBox* radarCheck_ = nullptr;
    QTimer* Timer1_radar_ = nullptr;
    QFrame* Picture4_ = nullptr;
    QPushButton* Command1_ = nullptr;
    QLineEdit* range_ = nullptr;
    QLabel* Label4_ = nullptr;
    QLabel* Label3_ = nullptr;
    RadarView* Picture3_ = nullptr;
    QFrame* Picture2_ = nullptr;
    QListWidget* List1_ = nullptr;
    QLabel* Label5_ = nullptr;
    QLabel* Label1_ = nullptr;
    QLabel* Label2_ = nullptr;
    QFrame* Picture1_ = nullptr;
    QLabel* status_ = nullptr;
    QLabel* applicationDir_ = nullptr;
    QMenu* menuFile_ = nullptr;
    // Last, so it has finished before anything it could reach goes.
    std::jthread iconLoader_;
};

}  // namespace ovelsk
