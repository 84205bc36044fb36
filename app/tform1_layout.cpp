// SPDX-License-Identifier: GPL-3.0-or-later
// Construction of the main window's controls. Positions and sizes are fixed at the starting
// size; a larger window gives the map the room above the tabs (see tform1_block.cpp).
#include "app/banded_pane_style.h"
#include "app/field_validator.h"
#include "app/form_controls.h"
#include "app/marker_image.h"
#include "app/region_outline.h"
#include "app/rx_slider.h"
#include "app/status_panels.h"
#include "app/tform1.h"
#include "app/tile_image.h"
#include "app/window_fit.h"
#include "batch/outputs/calibration_file.h"
#include "gis/area_file.h"
#include "store/settings_schema.h"

#include <QAbstractItemView>
#include <QGroupBox>
#include <QScreen>
#include <QStyle>

namespace {

// The controls' design-time values are those of settings that no file has set.
const Settings kDesign = DesignSettings();

// A number field over a settings range, from its design-time value.
QSpinBox* MakeUpDown(QWidget* parent, int x, int y, SpinRange range, int value) {
    return MakeUpDown(parent, x, y, range.min, range.max, value);
}

QGroupBox* MakeGroup(QWidget* parent, const QString& title, int y, int height) {
    auto* group = new QGroupBox(title, parent);
    group->setGeometry(4, y, 498, height);
    return group;
}

} // namespace

QSize TForm1::FittedToScreen(QSize wanted) const {
    if (!screen())
        return wanted;
    // The window manager's frame is not known before the window is shown: the style's title bar
    // and borders stand in for it.
    const int border = style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    const QSize frame(2 * border, style()->pixelMetric(QStyle::PM_TitleBarHeight) + 2 * border);
    return FittedStartSize(wanted, screen()->availableGeometry().size(), frame,
                           screen()->devicePixelRatio());
}

void TForm1::BuildLayout() {
    setWindowTitle(QStringLiteral("OrbivistViewer"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint);
    startSize_ = FittedToScreen({kClientWidth, kClientHeight});
    setMinimumSize(startSize_);
    resize(startSize_);
    // The toolkit's default face at 8 points, the size every caption and panel is laid out for.
    QFont face = font();
    face.setPointSize(8);
    setFont(face);

    constexpr std::array<QPoint, 4> kImagePlaces = {
        QPoint(0, 0), QPoint(kTileSide, 0), QPoint(kTileSide, kTileSide), QPoint(0, kTileSide)};
    for (int slot = 0; slot < 4; ++slot) {
        images[slot] = new TileImage(this);
        images[slot]->move(kImagePlaces[slot]);
    }
    Image1 = images[0];
    Image2 = images[1];
    Image3 = images[2];
    Image4 = images[3];
    blockImages_.assign(images.begin(), images.end());
    Image5 = new MarkerImage(this);

    PageControl1 = new QTabWidget(this);
    // Owned by the tab widget, which holds it through a guarded pointer.
    auto* paneStyle = new BandedPaneStyle(style()->name());
    paneStyle->setParent(PageControl1);
    PageControl1->setStyle(paneStyle);
    PageControl1->setTabPosition(QTabWidget::South);
    // Six captions must fit side by side in the window's width. Styled on the bar alone: on the
    // tab widget the sheet would reach every control inside the tabs and set their captions in
    // the toolkit's default size instead of the window's 8 points.
    PageControl1->tabBar()->setStyleSheet(QStringLiteral("QTabBar::tab { padding: 3px 6px; }"));
    PageControl1->setGeometry(0, 514, kClientWidth, 137);
    // Beside the tabs their row is see-through: a tall block's tiles run on below the map, and
    // there the window's own background belongs, as at the starting size.
    PageControl1->setAutoFillBackground(true);
    BuildViewTab();
    // The other tabs' captions are in the bar from the start; their contents are built when
    // shown or reached.
    const auto addPage = [this](DeferredTab& tab, const QString& caption) {
        auto* page = new QWidget;
        PageControl1->addTab(page, caption);
        tab.Place(page);
        return page;
    };
    TabSheet6 = addPage(searchTab_, tr("Поиск"));
    TabSheet2 = addPage(stitchTab_, tr("Склейка"));
    TabSheet3 = addPage(prefillTab_, tr("Выкачивание в кэш"));
    TabSheet4 = addPage(settingsTab_, tr("Настройки"));
    TabSheet5 = addPage(aboutTab_, tr("О программе"));
    connect(PageControl1, &QTabWidget::currentChanged, this, [this] {
        for (DeferredTab* tab : {&searchTab_, &stitchTab_, &prefillTab_, &settingsTab_, &aboutTab_})
            if (tab->Page() == PageControl1->currentWidget())
                tab->Build();
    });
    // Over the map, in its place among the layers from the start (see StackOverlays).
    Outline = new RegionOutline(this);

    StatusB = new StatusPanels(this);
    StatusB->setGeometry(0, kClientHeight - StatusPanels::kHeight, kClientWidth,
                         StatusPanels::kHeight);
    const QStringList initial = {tr("коорд1"), tr("коорд2"), tr("увеличение"), tr("закачано"),
                                 tr("интернет и кэш")};
    for (int i = 0; i < initial.size(); ++i)
        StatusB->setText(i, initial[i]);
}

void TForm1::BuildViewTab() {
    TabSheet1 = new QWidget;
    PageControl1->addTab(TabSheet1, tr("Просмотр"));
    const QStringList glyphs = {"↖", "↑", "↗", "←", "±", "→", "↙", "↓", "↘"};
    for (int i = 0; i < 9; ++i) {
        pad[i] = new QToolButton(TabSheet1);
        pad[i]->setGeometry(12 + 35 * (i % 3), 2 + 35 * (i / 3), 34, 34);
        pad[i]->setAutoRaise(true);
        pad[i]->setText(glyphs[i]);
        QFont glyphFont = pad[i]->font();
        glyphFont.setPixelSize(18);
        pad[i]->setFont(glyphFont);
        pad[i]->setObjectName(QStringLiteral("SpeedButton%1").arg(i + 1));
    }
    pad[4]->setToolTip(tr("Левая кнопка: крупнее, правая: мельче"));

    Label6 = new QLabel(QStringLiteral("5"), TabSheet1);
    Label6->setGeometry(128, 13, 30, 22);
    QFont digits = Label6->font();
    digits.setBold(true);
    digits.setPixelSize(17);
    Label6->setFont(digits);
    QPalette blue = Label6->palette();
    blue.setColor(QPalette::WindowText, Qt::blue);
    Label6->setPalette(blue);

    RxSlider1 = new RxSlider(TabSheet1);
    RxSlider1->setGeometry(160, 0, 337, 45);
    RxSlider1->setValue(5);

    SpeedButton10 = MakeButton(TabSheet1, tr("кэш"), 148, 72, 133, 34);
    SpeedButton10->setFlat(true);
    SpeedButton10->setFocusPolicy(Qt::NoFocus); // like the pad, it leaves the focus alone
    SpeedButton11 = MakeButton(TabSheet1, tr("Получить недостающие"), 332, 72, 161, 34);
    SpeedButton11->setFlat(true);
    SpeedButton11->setFocusPolicy(Qt::NoFocus);
    BuildLayersGroup();
}

void TForm1::BuildSearchTab() {
    MakeLabel(TabSheet6, tr("широта"), 8, 8);
    SCB = new QComboBox(TabSheet6);
    SCB->setGeometry(60, 4, 44, 22);
    SCB->addItems({QStringLiteral("N"), QStringLiteral("S")});
    SCB->setCurrentIndex(kDesign.latHemisphere);
    Edit7 = MakeEdit(TabSheet6, QString(), 108, 4, 120);
    Edit7->setMaxLength(14);
    Edit7->setAcceptDrops(false); // only the key filter puts text in
    LimitToStorableText(Edit7, 14);
    MakeLabel(TabSheet6, tr("долгота"), 246, 8);
    DCB = new QComboBox(TabSheet6);
    DCB->setGeometry(300, 4, 44, 22);
    DCB->addItems({QStringLiteral("W"), QStringLiteral("E")});
    DCB->setCurrentIndex(kDesign.lonHemisphere);
    Edit10 = MakeEdit(TabSheet6, QString(), 348, 4, 120);
    Edit10->setMaxLength(14);
    Edit10->setAcceptDrops(false);
    LimitToStorableText(Edit10, 14);

    MakeLabel(TabSheet6, tr("Увеличение"), 8, 38);
    FCB = new QComboBox(TabSheet6);
    FCB->setGeometry(88, 34, 48, 22);
    for (int level = SettingsRange::SearchLevel.min; level <= SettingsRange::SearchLevel.max;
         ++level)
        FCB->addItem(QString::number(level));
    FCB->setCurrentIndex(kDesign.searchZoom);
    ButtonFind = MakeButton(TabSheet6, tr("Показать"), 140, 33, 90, 24);
    CheckBox3 = new QCheckBox(tr("показывать точку"), TabSheet6);
    CheckBox3->move(246, 36);
    CheckBox3->setChecked(kDesign.markPoint);

    ComboBox1 = new QComboBox(TabSheet6);
    ComboBox1->setEditable(true);
    ComboBox1->setInsertPolicy(QComboBox::NoInsert);
    ComboBox1->setCompleter(nullptr); // the name saved is the name typed
    LimitToStorableText(ComboBox1->lineEdit(), 20);
    ComboBox1->setGeometry(8, 64, 300, 22);
    ComboBox1->addItem(QStringLiteral("____________________ N E"));
    QFont fixed(QStringLiteral("DejaVu Sans Mono"));
    fixed.setStyleHint(QFont::Monospace);
    ComboBox1->view()->setFont(fixed); // entries are fixed-width lines
    ButtonSave = MakeButton(TabSheet6, tr("Сохранить"), 316, 63, 90, 24);
    ButtonDel = MakeButton(TabSheet6, tr("Удалить"), 410, 63, 90, 24);
    ShowHeldSettings(searchTab_);
    ShowFavorites();
    ComboBox1->setEditText(tr("---Новое Имя---"));
    ConnectSearchTab();
}

void TForm1::BuildStitchTab() {
    MakeLabel(TabSheet2, tr("слева направо"), 8, 8);
    Edit1 = MakeEdit(TabSheet2, kDesign.stitchColumns, 110, 4, 44);
    MakeLabel(TabSheet2, tr("сверху вниз"), 8, 34);
    Edit2 = MakeEdit(TabSheet2, kDesign.stitchRows, 110, 30, 44);
    Label3 = MakeLabel(TabSheet2, QString(), 160, 8, 180);
    Label4 = MakeLabel(TabSheet2, QString(), 160, 34, 180);
    Label7 = MakeLabel(TabSheet2,
                       tr("Выкачивание производится при текущем увеличении квадратами "
                          "256х256 пикселей, с последующей автоматической склейкой в "
                          "единый .jpg файл. Количество квадратов задается от "
                          "верхнего левого угла. Автоматически создается файл "
                          "привязки для OziExplorer."),
                       8, 58, 490);
    Label7->setWordWrap(true);
    Label7->setFixedHeight(Label7->heightForWidth(Label7->width())); // every line shown
    MakeLabel(TabSheet2, tr("Сжатие jpeg:"), 346, 8);
    UpDown3 = MakeUpDown(TabSheet2, 430, 4, SettingsRange::JpegQuality, kDesign.jpegQuality);
    Button5 = MakeButton(TabSheet2, tr("Начать"), 420, 30, 80, 24);
    LimitToStorableText(Edit1);
    LimitToStorableText(Edit2);

    // Never shown: the calibration file's template, which the stitch reads.
    Memo1 = new QPlainTextEdit(this);
    Memo1->setReadOnly(true);
    Memo1->setLineWrapMode(QPlainTextEdit::NoWrap);
    Memo1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    Memo1->setPlainText(CalibrationTemplate().join('\n'));
    Memo1->hide();

    ShowHeldSettings(stitchTab_);
    Edit1Change(); // the estimate shows from the start, whatever the file held
    ConnectStitchTab();
}

void TForm1::BuildPrefillTab() {
    MakeLabel(TabSheet3, tr("Глубина (увеличение)"), 8, 8);
    Edit3 = MakeEdit(TabSheet3, kDesign.prefillLevel, 156, 4, 46);
    Label13 = MakeLabel(TabSheet3, tr("Ориентировочный объем:"), 210, 4, 292);
    // Room for three lines: a refused depth says why here.
    Label13->setWordWrap(true);
    Label13->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label13->setFixedHeight(3 * Label13->fontMetrics().lineSpacing() + 2);
    Label11 = MakeLabel(TabSheet3,
                        tr("В кэш выкачиваются все фрагменты видимой области\n"
                           "только заданного увеличения, без промежуточных."),
                        8, 56, 400);
    Label11->setWordWrap(true);
    Label11->setFixedHeight(34);
    // One above the other: the explanation beside them runs almost to their left edge, and
    // a refused depth's three lines above it leave room from y = 60 on.
    Button6 = MakeButton(TabSheet3, tr("Начать"), 420, 60, 80, 26);
    Button7 = MakeButton(TabSheet3, tr("Экспорт…"), 420, 89, 80, 25);

    // The region: the visible one keeps the tab as it was; another takes the explanation's
    // place with its file or box, and the row of the choice with its buffer and levels.
    RegionBox = new QComboBox(TabSheet3);
    RegionBox->addItems({tr("видимая область"), tr("область из файла"), tr("рамка в градусах")});
    RegionBox->setGeometry(8, 91, 150, 21);
    RegionFileButton = new QToolButton(TabSheet3);
    RegionFileButton->setText(QStringLiteral("…"));
    RegionFileButton->setGeometry(8, 60, 24, 22);
    RegionEdit = MakeEdit(TabSheet3, QString(), 36, 60, 372);
    auto* bufferLabel = MakeLabel(TabSheet3, tr("буфер, м"), 164, 95);
    BufferUpDown =
        MakeUpDown(TabSheet3, bufferLabel->geometry().right() + 4, 91, 0,
                   static_cast<int>(kMaxBufferMetres), static_cast<int>(kDefaultBufferMetres));
    BufferUpDown->setSingleStep(100);
    BufferUpDown->findChild<QLineEdit*>()->setReadOnly(false); // metres are typed too
    auto* levelsLabel =
        MakeLabel(TabSheet3, tr("уровни"), BufferUpDown->geometry().right() + 8, 95);
    const int levelsX = levelsLabel->geometry().right() + 4;
    LevelsEdit = MakeEdit(TabSheet3, QString(), levelsX, 91, 414 - levelsX);
    LevelsEdit->setPlaceholderText(QStringLiteral("A-B"));
    for (QWidget* part : std::initializer_list<QWidget*>{RegionFileButton, RegionEdit, bufferLabel,
                                                         BufferUpDown, levelsLabel, LevelsEdit}) {
        part->setObjectName(kRegionPart);
        part->hide();
    }
    LimitToStorableText(Edit3);
    ShowHeldSettings(prefillTab_);
    ConnectPrefillTab();
    Edit3Change(); // the estimate of the view shown now
}

void TForm1::BuildSettingsTab() {

    auto* mode = MakeGroup(TabSheet4, tr("Режим работы"), 2, 46);
    RadioButton2 = new QRadioButton(tr("только интернет"), mode);
    RadioButton2->move(8, 20);
    RadioButton3 = new QRadioButton(tr("то и другое"), mode);
    RadioButton3->move(150, 20);
    RadioButton3->setChecked(kDesign.modeLines[2]);
    RadioButton1 = new QRadioButton(tr("только кэш"), mode);
    RadioButton1->move(280, 20);
    Button8 = MakeButton(mode, tr("Обновить"), 410, 16, 80, 24);

    auto* proxy = MakeGroup(TabSheet4, QStringLiteral("Proxy"), 50, 68);
    CheckBox2 = new QCheckBox(tr("Использoвать proxy"), proxy);
    CheckBox2->move(8, 18);
    CheckBox2->adjustSize();
    // Row one: the switch and the optional user; row two: server, port and password.
    Label17 = MakeLabel(proxy, tr(" (Не обязательно)  Proxy User"),
                        CheckBox2->geometry().right() + 2, 20);
    Edit8 = MakeEdit(proxy, QString(), 352, 16, 138);
    Edit5 = MakeEdit(proxy, QString(), 8, 42, 140);
    Label16 = MakeLabel(proxy, QStringLiteral("port"), 154, 45);
    Edit6 = MakeEdit(proxy, QString(), 182, 42, 44);
    Label18 = MakeLabel(proxy, QStringLiteral("Proxy Password"), 250, 45);
    Edit9 = MakeEdit(proxy, QString(), 346, 42, 144);
    Edit9->setEchoMode(QLineEdit::PasswordEchoOnEdit);
    SetProxyFieldsEnabled(false);

    auto* extra = MakeGroup(TabSheet4, tr("Дополнительные возможности"), 120, 42);
    CheckBox1 = new QCheckBox(tr("показывать настройки таймера/соединения перед закачкой "), extra);
    CheckBox1->move(8, 18);

    // The imagery source, then the request prefix that the demo source is reached by.
    auto* source = MakeGroup(TabSheet4, tr("Источник"), 164, 68);
    MakeLabel(source, tr("Снимки"), 8, 20);
    SourceBox = new QComboBox(source);
    SourceBox->setGeometry(62, 16, 200, 22);
    // The demo source is the program's own, named in the window's language.
    for (const SourceDefinition& each : sources_.sources)
        SourceBox->addItem(each.kind == SourceKind::Demo ? tr("Демо-сервер") : each.title,
                           each.name);
    // Beside the source it applies to: the view's refresh of its cached tiles, typed or stepped.
    MakeLabel(source, tr("Обновлять старше, дней"), 268, 20, 158);
    RefreshDaysUpDown =
        MakeUpDown(source, 428, 16, SettingsRange::RefreshDays, kDesign.refreshDays);
    RefreshDaysUpDown->setSpecialValueText(tr("нет"));
    RefreshDaysUpDown->setToolTip(
        tr("Спрашивать сервер снова о тайлах старше N дней. При 0 вид не спрашивает, а задания "
           "спрашивают только о тайлах, срок которых по ответу сервера истёк"));
    if (auto* field = RefreshDaysUpDown->findChild<QLineEdit*>())
        field->setReadOnly(false);
    MakeLabel(source, tr("Запрос"), 8, 44);
    Edit11 = MakeEdit(source, QString(), 56, 40, 252);
    ButtonSOK = MakeButton(source, tr("Принять"), 312, 38, 76, 24);
    ButtonS = MakeButton(source, tr("Восстановить"), 392, 38, 100, 24);

    auto* cache = MakeGroup(TabSheet4, tr("Расположение кэша"), 234, 44);
    CheckBox4 = new QCheckBox(tr("Указать"), cache);
    CheckBox4->move(8, 20);
    Edit16 = MakeEdit(cache, QString(), 84, 18, 376);
    Edit16->setEnabled(false);
    Edit16Browse = new QToolButton(cache);
    Edit16Browse->setText(QStringLiteral("…"));
    Edit16Browse->setGeometry(464, 18, 26, 21);
    Edit16Browse->setEnabled(false);

    // Rows 22 pixels apart: the tab's height is fixed, and the spinners are 21 high.
    auto* limits = MakeGroup(TabSheet4, tr("Контроль ошибок при выкачивании / склейке"), 280, 132);
    const QStringList captions = {
        tr("Попыток закачать фрагмент при ошибке"),
        tr("с интервалом (сек.)"),
        tr("Допускать ошибок записи  фрагментов на диск"),
        tr("Допускать ошибок при получении фрагментов с сервера"),
        tr("Допускать ошибок в полуенных файлах"),
    };
    for (int row = 0; row < captions.size(); ++row)
        MakeLabel(limits, captions[row], 8, 21 + 22 * row);
    UpDown1 = MakeUpDown(limits, 420, 18, SettingsRange::FetchAttempts, kDesign.fetchAttempts);
    UpDown6 = MakeUpDown(limits, 420, 40, SettingsRange::RetryInterval, kDesign.retryInterval);
    UpDown2 = MakeUpDown(limits, 420, 62, SettingsRange::WriteErrorLimit, kDesign.writeErrorLimit);
    UpDown4 =
        MakeUpDown(limits, 420, 84, SettingsRange::ReceiveErrorLimit, kDesign.receiveErrorLimit);
    UpDown5 =
        MakeUpDown(limits, 420, 106, SettingsRange::BadFileErrorLimit, kDesign.badFileErrorLimit);
    for (QLineEdit* field : {Edit5, Edit6, Edit8, Edit9, Edit11, Edit16})
        LimitToStorableText(field);

    ShowHeldSettings(settingsTab_);
    SetProxyFieldsEnabled(CheckBox2->isChecked());
    Edit16->setEnabled(CheckBox4->isChecked());
    Edit16Browse->setEnabled(CheckBox4->isChecked());
    SourceBox->setCurrentIndex(static_cast<int>(chosenSource_));
    RefreshDaysUpDown->setValue(held_.refreshDays);
    ConnectSettingsTab();
}

void TForm1::BuildAboutTab() {
    auto* about =
        MakeLabel(TabSheet5,
                  tr("Orbivist — просмотр спутниковых снимков с сервера фрагментов и их "
                     "выкачивание.\nКаждый полученный фрагмент остаётся в кэше на диске, "
                     "поэтому однажды просмотренную местность можно смотреть и без сети.\n"
                     "Склейка собирает прямоугольник фрагментов в один JPEG с файлом привязки "
                     "OziExplorer; выкачивание заполняет кэш для области на глубину."),
                  8, 8, 490);
    about->setWordWrap(true);
    about->setFixedHeight(110);
    Button1 = MakeButton(TabSheet5, QStringLiteral("Ver. 1.2"), 410, 130, 90, 26);
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });
}
