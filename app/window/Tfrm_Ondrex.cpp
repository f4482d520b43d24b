#include "app/window/Tfrm_Ondrex.h"

#include "app/window/ControlAccessible.h"
#include "app/window/Glyphs.h"
#include "app/window/Tclippad.h"
#include "app/window/Tfrm_about.h"
#include "app/window/Tfrm_copied.h"
#include "platform/Application.h"
#include "platform/Font.h"
#include "platform/qt/QtControlHost.h"

#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QDateTime>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QScreen>
#include <QSplitter>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

#include <algorithm>
#include <vector>

namespace ondrex::window {

namespace {

constexpr int kMostInfoRows = 8;
// How long a window manager gets to maximise the window before it fills the screen itself.
constexpr int kMaximiseGrace = 500; // milliseconds
constexpr int kProgressSteps = 1000;
constexpr int kProgressWidth = 160;

QFrame* panel(QWidget* parent, const char* name, bool bevel) {
    auto* frame = new QFrame(parent);
    frame->setObjectName(name);
    if (bevel) frame->setFrameStyle(QFrame::Panel | QFrame::Raised);
    return frame;
}

QVBoxLayout* column(QWidget* w) {
    auto* layout = new QVBoxLayout(w);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    return layout;
}

// A status bar panel: its own width, or its text's when that is wider (a caret column of a
// long line).
class TStatusPanel : public QLabel {
public:
    TStatusPanel(const QString& text, int width, QWidget* parent)
        : QLabel(text, parent), width_(width) {}
    int Width() const { return std::max(width_, QLabel::sizeHint().width()); }

private:
    int width_;
};

// The status bar's panels side by side at their full widths: a window too narrow for them
// cuts the last ones off at its edge instead of squeezing them all.
class TStatusPanelRow : public QWidget {
public:
    using QWidget::QWidget;
    void Add(TStatusPanel* panel) { panels_.push_back(panel); }
    QSize sizeHint() const override { return {right(), 19}; }
    QSize minimumSizeHint() const override { return {0, 0}; }

protected:
    bool event(QEvent* e) override {
        if (e->type() == QEvent::LayoutRequest) place(); // a panel's text changed
        return QWidget::event(e);
    }
    void resizeEvent(QResizeEvent*) override { place(); }

private:
    int right() const {
        int x = 0;
        for (const TStatusPanel* panel : panels_)
            x += panel->Width();
        return x;
    }
    void place() {
        int x = 0;
        for (TStatusPanel* panel : panels_) {
            panel->setGeometry(x, 0, panel->Width(), height());
            x += panel->Width();
        }
    }

    std::vector<TStatusPanel*> panels_;
};

// The system's long time format without the time zone the clock does not ask for.
QString LongTimeFormat(const QLocale& locale) {
    const QString format = locale.timeFormat(QLocale::LongFormat);
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == '\'') quoted = !quoted;
        if (quoted || c != 't') kept += c;
    }
    return kept.simplified();
}

std::string firstLocalFile(const QMimeData* data) {
    if (!data || !data->hasUrls()) return {};
    for (const QUrl& url : data->urls())
        if (url.isLocalFile()) return url.toLocalFile().toStdString();
    return {};
}

} // namespace

Tfrm_Ondrex::Tfrm_Ondrex(std::string startFile) : startFile_(std::move(startFile)) {
    setObjectName("frm_Ondrex");
    setWindowTitle("Ondrex ");
    setGeometry(88, 108, 600, 444);
    QFont font(QString::fromStdString(ResolveFontFamily("Tahoma")));
    font.setPointSize(8);
    setFont(font);
    setAcceptDrops(true);

    auto* panel1 = panel(this, "Panel1", true);
    panel1->setLineWidth(2);
    auto* outer = column(panel1);
    auto* splitter1 = new QSplitter(Qt::Horizontal, panel1);
    splitter1->setObjectName("Splitter1");
    splitter1->setHandleWidth(4);
    splitter1->addWidget(buildLeftPane());
    splitter1->addWidget(buildRightPane());
    splitter1->setStretchFactor(1, 1);
    splitter1->setSizes({215, 385});
    outer->addWidget(splitter1);
    auto* central = new QWidget(this);
    auto* layout = column(central);
    layout->addWidget(panel1, 1);
    auto* panel2 = panel(central, "Panel2", false);
    panel2->setFixedHeight(14);
    layout->addWidget(panel2);
    setCentralWidget(central);
    buildMenus();

    about_ = std::make_unique<Tfrm_about>(this);
    copied_ = std::make_unique<Tfrm_copied>(this);
    clippad_ = std::make_unique<Tclippad>(this);

    explorer_ = std::make_unique<TScriptExplorer>(memo1_, *this);
    flatHint1_.Font = TFont("MS Sans Serif", -11);
    memo1_.OnStatusChange = TqvStatusChangeEvent::bind<&Tfrm_Ondrex::editorStatusChange>(this);
    memo1_.OnChange = TNotifyEvent::bind<&Tfrm_Ondrex::editorChanged>(this);
    listView2_->OnSelected = [this](int row) {
        run([&] { explorer_->SelectRow(std::size_t(row)); });
    };

    // The clock ticks once a second; everything else is shown when it changes.
    timer1_ = new QTimer(this);
    timer1_->setInterval(1000);
    connect(timer1_, &QTimer::timeout, this, [this] { refreshClock(); });
    timer1_->start();
    dimcheck_->Widget()->setFocus();
}

Tfrm_Ondrex::~Tfrm_Ondrex() {
    memo1_.OnStatusChange = {};
    memo1_.OnChange = {};
    listView2_->OnSelected = nullptr;
    explorer_.reset();
}

QWidget* Tfrm_Ondrex::buildLeftPane() {
    auto* panel4 = panel(this, "Panel4", false);
    panel4->setMinimumWidth(60);
    auto* layout = column(panel4);
    listView2_ = MakeResultsList(panel4);
    listView2_->Widget()->setEnabled(false);
    layout->addWidget(listView2_->Widget(), 1);

    auto* panel5 = panel(panel4, "Panel5", true);
    panel5->setFixedHeight(50);
    dimcheck_ = MakeOptionBox(panel5, "Include Dim statements", false);
    dimcheck_->Widget()->setGeometry(4, 2, 158, 15);
    dimcheck_->Widget()->setObjectName("dimcheck");
    checkbox2_ = MakeOptionBox(panel5, "Include If Statements", false);
    checkbox2_->Widget()->setGeometry(4, 17, 121, 14);
    checkbox2_->Widget()->setObjectName("Checkbox2");
    checkbox3_ = MakeOptionBox(panel5, "Include function calls", true);
    checkbox3_->Widget()->setGeometry(4, 31, 161, 17);
    checkbox3_->Widget()->setObjectName("Checkbox3");
    for (TOptionBox* box : {dimcheck_.get(), checkbox2_.get(), checkbox3_.get()})
        box->OnClick = [this] { optionClicked(); };
    QToolButton* find = addButton(panel5, "SpeedButton7", "Find function / Sub");
    find->setIcon(Glyph(TGlyph::Find));
    find->setIconSize(QSize(32, 32));
    find->setGeometry(170, 5, 41, 41);
    connect(find, &QToolButton::clicked, this, [this] { run([&] { explorer_->Find(); }); });
    layout->addWidget(panel5);
    return panel4;
}

QWidget* Tfrm_Ondrex::buildRightPane() {
    auto* panel3 = panel(this, "Panel3", false);
    auto* layout = column(panel3);
    auto* splitter2 = new QSplitter(Qt::Vertical, panel3);
    splitter2->setObjectName("Splitter2");
    splitter2->setHandleWidth(3);

    auto* top = new QWidget(splitter2);
    auto* topLayout = column(top);
    topLayout->addWidget(buildEditorArea(), 1);
    statusBar1_ = new QStatusBar(top);
    statusBar1_->setObjectName("StatusBar1");
    statusBar1_->setSizeGripEnabled(false);
    statusBar1_->setFixedHeight(19);
    auto* row = new TStatusPanelRow(statusBar1_);
    const int widths[5] = {200, 100, 50, 50, 50};
    const char* texts[5] = {"File Status", "Lines :", "X : ", "Y : ", ""};
    for (int i = 0; i < 5; ++i) {
        auto* panel = new TStatusPanel(texts[i], widths[i], row);
        if (i < 4) panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        if (i == 4) panel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        row->Add(panel);
        panels_[i] = panel;
    }
    // Laid over the panels' right end while it shows, so they keep their widths.
    loadProgress_ = new QProgressBar(statusBar1_);
    loadProgress_->setObjectName("LoadProgress");
    loadProgress_->setAccessibleName("Loading");
    loadProgress_->setRange(0, kProgressSteps);
    loadProgress_->hide();
    statusBar1_->addWidget(row, 1);
    topLayout->addWidget(statusBar1_);
    splitter2->addWidget(top);

    listView1_ = MakeInfoList(splitter2);
    splitter2->addWidget(listView1_->Widget());
    splitter2->setStretchFactor(0, 1);
    // Tall enough for the most rows a block shows (three counters, a gap, four facts),
    // whatever the font's height.
    splitter2->setSizes({260, std::max(138, listView1_->HeightFor(kMostInfoRows))});
    layout->addWidget(splitter2, 1);

    auto* panel6 = panel(panel3, "Panel6", true);
    panel6->setFixedHeight(30);
    auto* buttons = new QHBoxLayout(panel6);
    buttons->setContentsMargins(3, 4, 6, 3);
    buttons->setSpacing(1);
    speedButton2_ = addButton(panel6, "SpeedButton2", "Copy current codeblock to clipboard");
    speedButton2_->setText("Copy Block");
    speedButton2_->setIcon(Glyph(TGlyph::Copy));
    speedButton2_->setFixedSize(108, 21);
    speedButton3_ = addButton(panel6, "SpeedButton3", "Print current codeblock");
    speedButton3_->setText("Print codeblock");
    speedButton3_->setIcon(Glyph(TGlyph::Print));
    speedButton3_->setFixedSize(111, 21);
    QToolButton* print = addButton(panel6, "SpeedButton4", "Print whole document");
    print->setText("Print whole document");
    print->setIcon(Glyph(TGlyph::Print));
    print->setFixedSize(129, 21);
    for (QToolButton* b : {speedButton2_, speedButton3_, print}) {
        b->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        b->setIconSize(QSize(16, 16));
    }
    speedButton2_->setEnabled(false);
    speedButton3_->setEnabled(false);
    buttons->addWidget(speedButton2_);
    buttons->addWidget(speedButton3_);
    buttons->addStretch(1);
    buttons->addWidget(print);
    connect(speedButton2_, &QToolButton::clicked, this,
            [this] { run([&] { explorer_->CopyBlock(); }); });
    connect(speedButton3_, &QToolButton::clicked, this,
            [this] { run([&] { explorer_->PrintBlock(); }); });
    connect(print, &QToolButton::clicked, this,
            [this] { run([&] { explorer_->PrintDocument(); }); });
    layout->addWidget(panel6);
    return panel3;
}

QWidget* Tfrm_Ondrex::buildEditorArea() {
    auto* area = new QWidget(this);
    auto* row = new QHBoxLayout(area);
    row->setContentsMargins(0, 0, 0, 0);
    row->setSpacing(0);
    memoHost_ = std::make_unique<TQtControlHost>(memo1_, area);
    auto* memo = static_cast<QAbstractScrollArea*>(memoHost_->Widget());
    memo->setObjectName("memo1");
    MakeEditorAccessible(memo, memo1_); // before anything asks for its interface
    memo->setAccessibleName("Script");
    memo->setMinimumSize(100, 60);
    row->addWidget(memo, 1);

    popupMenu1_ = new QMenu(this);
    popupMenu1_->addSeparator();
    popupMenu1_->addAction("Copy ", this, [this] { run([&] { memo1_.CopyToClipboard(); }); });
    popupMenu1_->addAction("Cut", this, [this] { run([&] { memo1_.CutToClipboard(); }); });
    popupMenu1_->addAction("Paste", this, [this] { run([&] { memo1_.PasteFromClipboard(); }); });
    popupMenu1_->addSeparator();
    // The scroll area, not its viewport, answers the viewport's context-menu requests; the
    // point comes in the viewport's pixels.
    memo->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(memo, &QWidget::customContextMenuRequested, this, [this, memo](const QPoint& p) {
        popupMenu1_->popup(memo->viewport()->mapToGlobal(p));
    });
    memo1_.SetHasPopupMenu(true);

    auto* panel7 = panel(area, "Panel7", true);
    panel7->setFixedWidth(44);
    auto* buttons = new QVBoxLayout(panel7);
    buttons->setContentsMargins(3, 3, 3, 3);
    buttons->setSpacing(2);
    const struct {
        const char* name;
        const char* hint;
        TGlyph glyph;
    } kButtons[] = {
        {"SpeedButton1", "Select a file to parse", TGlyph::Open},
        {"Button1", "Parse Selected files", TGlyph::Parse},
        {"SpeedButton6", "Toggle read/write and readonly flag of document", TGlyph::Lock},
        {"SpeedButton5", "Quit program", TGlyph::Quit},
    };
    for (const auto& b : kButtons) {
        QToolButton* button = addButton(panel7, b.name, b.hint);
        button->setIcon(Glyph(b.glyph));
        button->setIconSize(QSize(24, 24));
        button->setFixedSize(37, 33);
        if (b.glyph == TGlyph::Lock) { // the lower two keep to the bottom
            buttons->addStretch(1);
        }
        if (b.glyph == TGlyph::Quit) {
            auto* bevel1 = new QFrame(panel7);
            bevel1->setObjectName("Bevel1");
            bevel1->setFrameStyle(QFrame::HLine | QFrame::Sunken);
            buttons->addWidget(bevel1);
        }
        buttons->addWidget(button);
    }
    button1_ = panel7->findChild<QToolButton*>("Button1");
    button1_->setEnabled(false);
    connect(panel7->findChild<QToolButton*>("SpeedButton1"), &QToolButton::clicked, this,
            [this] { run([&] { explorer_->OpenScript(); }); });
    connect(button1_, &QToolButton::clicked, this, [this] { run([&] { explorer_->Parse(); }); });
    connect(panel7->findChild<QToolButton*>("SpeedButton6"), &QToolButton::clicked, this,
            [this] { run([&] { explorer_->ToggleReadOnly(); }); });
    connect(panel7->findChild<QToolButton*>("SpeedButton5"), &QToolButton::clicked, this,
            &QWidget::close);
    row->addWidget(panel7);
    return area;
}

void Tfrm_Ondrex::buildMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->addAction("&Open Script", this, [this] { run([&] { explorer_->OpenScript(); }); });
    file->addSeparator();
    file->addAction("&Exit", this, &QWidget::close);
    file->addSeparator();
    QMenu* block = menuBar()->addMenu("Code Block");
    block->addAction("Parse script", this, [this] { run([&] { explorer_->Parse(); }); });
    block->addSeparator();
    block->addAction("Print codeblock", this, [this] { run([&] { explorer_->PrintBlock(); }); });
    block->addAction("Print whole document", this,
                     [this] { run([&] { explorer_->PrintDocument(); }); });
    block->addSeparator();
    QMenu* edit = menuBar()->addMenu("Edit");
    edit->addAction("&Copy Code block", this, [this] { run([&] { explorer_->CopyBlock(); }); });
    edit->addSeparator();
    edit->addAction("View Clippad", this, [this] { clippad_->exec(); });
    edit->addSeparator();
    QMenu* help = menuBar()->addMenu("Help");
    help->addAction("&About", this, [this] { about_->exec(); });
    help->addSeparator();
}

QToolButton* Tfrm_Ondrex::addButton(QWidget* parent, const char* name, const QString& hint) {
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    MakeButtonAccessible(button); // before the name makes its interface
    button->setToolTip(hint);
    button->setAccessibleName(hint);
    return button;
}

template <class F> void Tfrm_Ondrex::run(F&& command) {
    try {
        command();
    } catch (const std::exception& e) {
        Application().HandleException(e);
    } catch (...) {
        Application().HandleUnknownException();
    }
}

QWidget* Tfrm_Ondrex::MemoWidget() const {
    return static_cast<QWidget*>(memoHost_->Widget());
}

QStringList Tfrm_Ondrex::StatusTexts() const {
    QStringList texts;
    for (const QLabel* label : panels_)
        texts << label->text();
    return texts;
}

// ---- First activation, closing, dropping ---------------------------------------------------

void Tfrm_Ondrex::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (started_) return;
    started_ = true;
    // After the window is on screen, so the scan's pump shows it filling.
    QTimer::singleShot(0, this, [this] { formActivate(); });
}

void Tfrm_Ondrex::formActivate() {
    memo1_.Lines().Clear();
    showMaximized();
    // Without a window manager nobody acts on the request: take the screen's area then.
    QTimer::singleShot(kMaximiseGrace, this, [this] { fillScreenUnlessMaximised(); });
    refreshStatus();
    refreshClock();
    if (!startFile_.empty()) run([&] { explorer_->StartWith(startFile_); });
}

void Tfrm_Ondrex::fillScreenUnlessMaximised() {
    if (!isMaximized() || !screen()) return; // the user restored it meanwhile
    const QRect area = screen()->availableGeometry();
    if (frameGeometry().width() < area.width() || frameGeometry().height() < area.height())
        setGeometry(area);
}

void Tfrm_Ondrex::closeEvent(QCloseEvent* e) {
    explorer_->StopScan();
    e->accept();
}

void Tfrm_Ondrex::dragEnterEvent(QDragEnterEvent* e) {
    if (!firstLocalFile(e->mimeData()).empty()) e->acceptProposedAction();
}

void Tfrm_Ondrex::dropEvent(QDropEvent* e) {
    const std::string path = firstLocalFile(e->mimeData());
    if (path.empty()) return;
    e->acceptProposedAction();
    run([&] {
        explorer_->OpenFile(path);
        explorer_->Parse();
    });
}

// ---- Check boxes and status bar -------------------------------------------------------------

void Tfrm_Ondrex::optionClicked() {
    TScanOptions options;
    options.dim = dimcheck_->Checked();
    options.ifs = checkbox2_->Checked();
    options.calls = checkbox3_->Checked();
    run([&] { explorer_->SetOptions(options); });
}

void Tfrm_Ondrex::refreshStatus() {
    const auto texts = TScriptExplorer::StatusTexts(memo1_);
    for (int i = 0; i < 4; ++i) {
        const QString text = QString::fromStdString(texts[std::size_t(i)]);
        if (panels_[i]->text() != text) panels_[i]->setText(text);
    }
}

void Tfrm_Ondrex::refreshClock() {
    const QLocale locale = QLocale::system();
    const QDateTime now = QDateTime::currentDateTime();
    panels_[4]->setText(locale.toString(now.date(), QLocale::ShortFormat) + ' ' +
                        locale.toString(now.time(), LongTimeFormat(locale)));
    refreshStatus(); // a backstop: nothing stays stale for more than a second
}

void Tfrm_Ondrex::editorStatusChange(TObject*, TqvStatusChanges changes) {
    if (changes & scCaretLine) explorer_->CaretLineChanged();
    refreshStatus();
}

void Tfrm_Ondrex::editorChanged(TObject*) {
    refreshStatus();
}

// ---- TOndrexView ----------------------------------------------------------------------------

void Tfrm_Ondrex::ResultsCleared() {
    listView2_->Clear();
}

void Tfrm_Ondrex::ResultsAppended(const std::vector<TScanRow>& rows, std::size_t first) {
    listView2_->Append(rows, first);
}

void Tfrm_Ondrex::SetResultsEnabled(bool enabled) {
    listView2_->Widget()->setEnabled(enabled);
}

void Tfrm_Ondrex::SetInfo(const std::vector<TInfoRow>& rows) {
    listView1_->SetRows(rows);
}

void Tfrm_Ondrex::SetParseEnabled(bool enabled) {
    button1_->setEnabled(enabled);
}

void Tfrm_Ondrex::SetBlockButtonsEnabled(bool enabled) {
    speedButton2_->setEnabled(enabled);
    speedButton3_->setEnabled(enabled);
}

void Tfrm_Ondrex::SetCaption(const std::string& caption) {
    setWindowTitle(QString::fromStdString(caption));
}

void Tfrm_Ondrex::ShowCopied() {
    copied_->exec();
}

void Tfrm_Ondrex::ProcessMessages() {
    Application().ProcessMessagesNow();
}

void Tfrm_Ondrex::EditorStateChanged() {
    refreshStatus();
}

void Tfrm_Ondrex::ShowLoadProgress(std::size_t done, std::size_t total) {
    const int width = std::min(kProgressWidth, statusBar1_->width());
    loadProgress_->setGeometry(statusBar1_->width() - width, 0, width, statusBar1_->height());
    const double part = total ? double(std::min(done, total)) / double(total) : 0.0;
    loadProgress_->setValue(static_cast<int>(part * kProgressSteps));
    loadProgress_->show();
    loadProgress_->raise();
    loadProgress_->update(); // painted with the rest by the pump that follows
}

void Tfrm_Ondrex::HideLoadProgress() {
    loadProgress_->hide();
}

} // namespace ondrex::window
