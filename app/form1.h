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

#include "app/range_settings.h"
#include "app/startup_options.h"
#include "host/gateway_section.h"
#include "host/host_folder_lock.h"
#include "host/host_application.h"
#include "radar/radar_sweep.h"
#include "stations/station_tracker.h"
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

    DateTime neverHeard() const { return neverHeard_; }
    const std::string& hostFolder() const { return hostFolder_; }
    // Null before Form_Load.
    const StationTracker* tracker() const { return tracker_.get(); }
    const HostApplication* host() const { return mUIV_.get(); }
    // The clock the tracker's times are on.
    const Clock& clock() const { return *options_.clock; }

signals:
    // Every status line the window sets, also when the text repeats.
    void statusChanged(const QString& text);

private:
    void buildControls();
    RadarView* createPicture3(QWidget* container);
    void placeStatusStrip();
    bool eventFilter(QObject* watched, QEvent* event) override;

    void LoadSettings();
    void RegisterWithHost();
    std::optional<std::string> lockHostFolder();

    void mUIV_NotifyBeaconData(const StationObject& cStn);
    void Command1_Click();
    void range_Change();
    void Timer1_radar_Timer();

    std::filesystem::path programFolder() const;
    RangeSettingsFolders rangeSettingsFolders() const;

    StartupOptions options_;
    DateTime neverHeard_ = 0;
    std::string hostFolder_;
    HostFolderLock hostFolderLock_;
    std::unique_ptr<GatewaySection> gateway_;
    std::unique_ptr<HostApplication> mUIV_;
    std::unique_ptr<StationTracker> tracker_;
    RadarSweep radar_;

    QWidget* client_ = nullptr;
    QFrame* Picture5_ = nullptr;
    QCheckBox* radarCheck_ = nullptr;
    QTimer* Timer1_radar_ = nullptr;
    QTimer* expiryTimer_ = nullptr;
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
