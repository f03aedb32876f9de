#include "app/form1.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QStyle>
#include <QTimer>

#include "app/app_log.h"
#include "app/background_startup.h"
#include "app/list_header.h"
#include "app/range_settings.h"
#include "app/tab_stops.h"
#include "radar/radar_view.h"

namespace ovelsk {
namespace {

constexpr int kTwipsPerPixel = 15;
constexpr int kClientWidthTwips = 7740;
constexpr int kClientHeightTwips = 5055;
constexpr int kRadarIntervalMs = 70;

constexpr char kListHeader[] = "Distance Callsign       Last Heard Via RF       Bearing";

// Positions are kept in twips, as the window was laid out; 15 twips make a pixel.
void setTwipsGeometry(QWidget* widget, int left, int top, int width, int height) {
    widget->setGeometry(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel,
                        height / kTwipsPerPixel);
}

// The window was drawn in MS Sans Serif. Where that face is missing, the faces
// of its width come first (the texts were fitted to it), then any sans face.
QFont sansFont(qreal points, bool bold = false) {
    QFont font;
    font.setFamilies({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif"), QStringLiteral("Arial"),
                      QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// One fixed-pitch face for the list and its header, so the columns line up. Faces
// fontconfig declares monospace come first, by name: where "Monospace" resolves
// to Noto Sans Mono (fonts-noto-mono, which comes with ghostscript), Qt reports
// the font as proportional.
QFont fixedFont() {
    QFont font;
    font.setFamilies({QStringLiteral("DejaVu Sans Mono"), QStringLiteral("Liberation Mono"),
                      QFontDatabase::systemFont(QFontDatabase::FixedFont).family()});
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSize(9);
    return font;
}

// A label at least as tall as a line of its font, grown upwards: where fonts are
// drawn larger (a desktop scaled by 1.5), its lower edge is not cut off, and it
// stays clear of what lies below it.
void fitHeightToFont(QLabel* label) {
    const int needed = label->fontMetrics().height() + label->contentsMargins().top() + label->contentsMargins().bottom();
    if (label->height() >= needed) return;
    label->setGeometry(label->x(), label->y() + label->height() - needed, label->width(), needed);
}

QFrame* createPanel(const char* name, QWidget* container) {
    auto* panel = new QFrame(container);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    panel->setFocusPolicy(Qt::TabFocus);
    // Panels paint their own background, so the status strip, drawn over the
    // radar in a window shrunk that far, never shows its text on black.
    panel->setAutoFillBackground(true);
    return panel;
}

// Labels show their text as written (never as markup), from the top left.
template <typename Label = QLabel>
Label* createLabel(const char* name, const QString& text, QWidget* container) {
    auto* label = new Label(text, container);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    return label;
}

}  // namespace

Form1::Form1(StartupOptions options, QWidget* parent)
    : QMainWindow(parent),
      options_(std::move(options)),
      companion_(options_, *this) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Ovelsk"));
    iconLoader_ = loadWindowIcon(this);
    setFont(sansFont(8.25));
    buildControls();
    resize(kClientWidthTwips / kTwipsPerPixel,
           kClientHeightTwips / kTwipsPerPixel + menuBar()->sizeHint().height());
}

Form1::~Form1() = default;

void Form1::buildControls() {
    client_ = new QWidget(this);
    client_->setObjectName(QStringLiteral("client"));
    setCentralWidget(client_);
    client_->installEventFilter(this);

    Picture5_ = createPanel("Picture5", client_);
    setTwipsGeometry(Picture5_, 120, 3120, 2895, 495);
    radarCheck_ = new QCheckBox(QStringLiteral("Enable RADAR"), Picture5_);
    radarCheck_->setObjectName(QStringLiteral("radarCheck"));
    setTwipsGeometry(radarCheck_, 120, 120, 2655, 255);

    Timer1_radar_ = new QTimer(this);
    Timer1_radar_->setObjectName(QStringLiteral("Timer1_radar"));
    Timer1_radar_->setInterval(kRadarIntervalMs);
    Timer1_radar_->start();
    connect(Timer1_radar_, &QTimer::timeout, this, [this] { Timer1_radar_Timer(); });

    Picture4_ = createPanel("Picture4", client_);
    setTwipsGeometry(Picture4_, 120, 3720, 2895, 975);
    Command1_ = new QPushButton(QStringLiteral("SAVE"), Picture4_);
    Command1_->setObjectName(QStringLiteral("Command1"));
    Command1_->setFont(sansFont(8.25, true));
    setTwipsGeometry(Command1_, 120, 600, 2535, 255);
    range_ = new QLineEdit(QStringLiteral("40"), Picture4_);
    range_->setObjectName(QStringLiteral("range"));
    range_->setFont(sansFont(12));
    setTwipsGeometry(range_, 960, 120, 855, 375);
    Label4_ = createLabel("Label4", QStringLiteral("Miles or Km"), Picture4_);
    setTwipsGeometry(Label4_, 1920, 240, 855, 255);
    Label3_ = createLabel("Label3", QStringLiteral("Range"), Picture4_);
    Label3_->setFont(sansFont(12));
    setTwipsGeometry(Label3_, 120, 120, 975, 375);

    Picture3_ = createPicture3(client_);
    setTwipsGeometry(Picture3_, 120, 0, 2895, 3015);

    Picture2_ = createPanel("Picture2", client_);
    setTwipsGeometry(Picture2_, 3120, 0, 4575, 4575);
    List1_ = new QListWidget(Picture2_);
    List1_->setObjectName(QStringLiteral("List1"));
    List1_->setFont(fixedFont());
    List1_->setItemDelegate(new TabStopDelegate(List1_));
    List1_->setUniformItemSizes(true);
    // A row wider than the list is scrolled to, never cut short.
    List1_->setTextElideMode(Qt::ElideNone);
    List1_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setTwipsGeometry(List1_, 120, 720, 4335, 2760);
    auto* header = createLabel<ListHeader>("Label5", QString::fromLatin1(kListHeader), Picture2_);
    header->follow(List1_);
    Label5_ = header;
    Label5_->setFont(fixedFont());
    // The rows' text starts inside the list's frame and item margin; the titles start there too.
    Label5_->setIndent(List1_->frameWidth() + List1_->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, List1_) + 1);
    setTwipsGeometry(Label5_, 120, 480, 4695, 255);
    fitHeightToFont(Label5_);
    Label1_ = createLabel("Label1", QStringLiteral("Stations within the specified range not heard via RF"), Picture2_);
    Label1_->setWordWrap(true);
    setTwipsGeometry(Label1_, 120, 120, 4095, 375);
    Label2_ = createLabel("Label2",
                          QStringLiteral("These stations will be automatically added to the UI-View32 IGATE.INI"),
                          Picture2_);
    Label2_->setWordWrap(true);
    setTwipsGeometry(Label2_, 120, 3720, 4935, 615);

    Picture1_ = createPanel("Picture1", client_);
    setTwipsGeometry(Picture1_, 0, 4800, 7740, 255);
    status_ = createLabel("status", QString(), Picture1_);
    status_->setIndent(3);
    setTwipsGeometry(status_, 0, 0, 8775, 255);

    applicationDir_ = createLabel("applicationDir", QStringLiteral("Label3"), client_);
    setTwipsGeometry(applicationDir_, 4440, 2040, 1455, 375);
    applicationDir_->setVisible(false);

    menuFile_ = menuBar()->addMenu(QStringLiteral("&File"));
    menuFile_->setObjectName(QStringLiteral("menuFile"));

    // The keyboard focus order; labels never take the focus.
    QWidget* const focusOrder[] = {Picture1_, Picture2_, List1_,    Picture3_, Picture4_,
                                   range_,    Picture5_, radarCheck_, Command1_};
    for (size_t i = 1; i < std::size(focusOrder); ++i) setTabOrder(focusOrder[i - 1], focusOrder[i]);
    Picture1_->setFocus();
    // Enter on the focused SAVE button saves, as Space does.
    Command1_->installEventFilter(this);

    connect(Command1_, &QPushButton::clicked, this, [this] { Command1_Click(); });
    connect(range_, &QLineEdit::textChanged, this, [this] { range_Change(); });
}

// The radar canvas: black until the radar draws on it.
RadarView* Form1::createPicture3(QWidget* container) {
    auto* canvas = new RadarView(container);
    canvas->setObjectName(QStringLiteral("Picture3"));
    canvas->setFocusPolicy(Qt::TabFocus);
    return canvas;
}

// The status strip keeps to the bottom edge at the full client width; nothing else moves.
void Form1::placeStatusStrip() {
    const int height = Picture1_->height();
    Picture1_->setGeometry(0, client_->height() - height, client_->width(), height);
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
    if (watched == client_ && event->type() == QEvent::Resize) placeStatusStrip();
    if (watched == Command1_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Command1_->click();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

std::optional<std::string> Form1::Form_Load() {
    applicationDir_->setText(QString::fromStdString(options_.programFolder.string()));
    setStatus(versionStatusLine());
    LoadSettings();
    return companion_.start();
}

std::filesystem::path Form1::programFolder() const { return applicationDir_->text().toStdString(); }

RangeSettingsFolders Form1::rangeSettingsFolders() const { return {programFolder(), options_.userSettingsFolder}; }

void Form1::LoadSettings() { range_->setText(savedRangeOr(rangeSettingsFolders(), range_->text())); }

void Form1::Command1_Click() {
    if (const auto error = saveRangeSetting(rangeSettingsFolders(), range_->text())) {
        setStatus("Range not saved: " + error->reason);
    }
}

void Form1::range_Change() {
    const QString kept = rangeBoxText(range_->text());
    if (kept != range_->text()) range_->setText(kept);  // runs this handler again, which keeps it
}

// The radar box, the range and the station table are read afresh on every tick.
// Returning hands control back to the event loop, which runs the events that came
// in meanwhile, so the table never changes while a frame is drawn.
void Form1::Timer1_radar_Timer() {
    const StationTracker* tracker = companion_.tracker();
    if (!tracker) return;  // no table before start-up has made it
    radar_.Timer1_radar_Timer(radarCheck_->checkState() != Qt::Unchecked, *Picture3_, rangeText(), tracker->table());
}

std::string Form1::rangeText() const { return range_->text().toStdString(); }

void Form1::setStatus(const std::string& text) {
    const QString line = QString::fromStdString(text);
    status_->setText(line);
    emit statusChanged(line);
}

void Form1::replaceCandidateRows(const std::vector<std::string>& rows) {
    QStringList texts;
    texts.reserve(static_cast<qsizetype>(rows.size()));
    for (const auto& row : rows) texts.append(QString::fromStdString(row));
    // Hidden from painting while it is refilled, so no half-filled list is ever seen.
    List1_->setUpdatesEnabled(false);
    List1_->clear();
    List1_->addItems(texts);
    List1_->setUpdatesEnabled(true);
}

}  // namespace ovelsk
