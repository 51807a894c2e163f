#include "qt/ComSet.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <algorithm>

#include "qt/Fonts.h"
#include "qt/Text8.h"
#include "qt/Twips.h"

namespace fw::qt {

namespace {

constexpr double kLabelPoints = 9.75;
constexpr int kComboHeightTwips = 315;
constexpr const char* kInitialListText = "1";

// The window grows below the original controls, which keep their places.
constexpr int kWidthTwips = 9000;
constexpr int kHeightTwips = 4560;
constexpr int kMargin = 240;
constexpr int kDevicesTop = 1680;
constexpr int kListTop = 2100;
constexpr int kRefreshWidth = 1215;
constexpr int kRefreshHeight = 375;
// The device field, right of the number.
constexpr int kDeviceLabelLeft = 3240;
constexpr int kDeviceFieldLeft = 4080;

enum Column { ColNumber, ColDevice, ColDescription, ColManufacturer, ColSerial, ColUsbId, ColumnCount };

QStringList rowTexts(const fw::DetectedPort& port)
{
    const fw::DetectedDevice& d = port.device;
    QString number = port.number ? toQt(fw::portName(port.number)) : QStringLiteral("-");
    if (port.newLine) number += QStringLiteral(" (new)");
    return {number,
            toQt(d.device),
            toQt(d.description),
            toQt(d.manufacturer),
            toQt(d.serialNumber),
            toQt(fw::usbId(d))};
}

bool sameRows(const std::vector<fw::DetectedPort>& a, const std::vector<fw::DetectedPort>& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const fw::DetectedPort& x, const fw::DetectedPort& y) {
        return rowTexts(x) == rowTexts(y);
    });
}

} // namespace

COM_Set::COM_Set(QWidget* parent) : QDialog(parent), standingText_(QString::fromLatin1(kInitialListText))
{
    setObjectName(QStringLiteral("COM_Set"));
    setWindowTitle(QStringLiteral("RS232 Com Port"));
    setFont(arialFont(kWindowFontPoints));
    setModal(false);
    setFixedSize(twipsSize(kWidthTwips, kHeightTwips));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    RS232_ = new QPushButton(QStringLiteral("OK"), this);
    RS232_->setObjectName(QStringLiteral("RS232"));
    RS232_->setGeometry(twipsRect(1800, 840, 1215, 615));
    RS232_->setDefault(true);

    Combo_Com_ = new QComboBox(this);
    Combo_Com_->setObjectName(QStringLiteral("Combo_Com"));
    Combo_Com_->setGeometry(twipsRect(1560, 240, 1335, kComboHeightTwips));
    Combo_Com_->setEditable(true);
    Combo_Com_->setInsertPolicy(QComboBox::NoInsert);  // typed text is not added to the list
    for (int n = kFirstListedPort; n <= kLastListedPort; ++n) Combo_Com_->addItem(QString::number(n));
    Combo_Com_->setEditText(standingText_);

    auto* Label8 = new QLabel(QStringLiteral("COM:"), this);
    Label8->setObjectName(QStringLiteral("Label8"));
    Label8->setGeometry(twipsRect(240, 240, 1095, 255));
    Label8->setFont(arialFont(kLabelPoints, true));

    buildDeviceField();
    buildDeviceList();

    setTabOrder(RS232_, Combo_Com_);
    setTabOrder(Combo_Com_, txtDevice_);
    setTabOrder(txtDevice_, lstDevices_);
    setTabOrder(lstDevices_, cmdRefresh_);
    connect(RS232_, &QPushButton::clicked, this, [this] {
        if (accepted) accepted();
    });
    move(twipsPoint(4500, 4125));
}

void COM_Set::buildDeviceField()
{
    auto* lblDevice = new QLabel(QStringLiteral("Device:"), this);
    lblDevice->setObjectName(QStringLiteral("lblDevice"));
    lblDevice->setGeometry(twipsRect(kDeviceLabelLeft, 240, kDeviceFieldLeft - kDeviceLabelLeft, 255));
    txtDevice_ = new QLineEdit(this);
    txtDevice_->setObjectName(QStringLiteral("txtDevice"));
    txtDevice_->setGeometry(
        twipsRect(kDeviceFieldLeft, 240, kWidthTwips - kMargin - kDeviceFieldLeft, kComboHeightTwips));
    txtDevice_->setPlaceholderText(QStringLiteral("/dev/ttyUSB0, rfc2217://host:port, socket://host:port"));
    txtDevice_->setToolTip(QStringLiteral("Written for the chosen number at OK; empty keeps what it has."));
}

void COM_Set::buildDeviceList()
{
    auto* lblDevices = new QLabel(QStringLiteral("Serial devices found (pick one to use it):"), this);
    lblDevices->setObjectName(QStringLiteral("lblDevices"));
    lblDevices->setGeometry(twipsRect(kMargin, kDevicesTop, 6000, 255));

    cmdRefresh_ = new QPushButton(QStringLiteral("Refresh"), this);
    cmdRefresh_->setObjectName(QStringLiteral("cmdRefresh"));
    cmdRefresh_->setGeometry(
        twipsRect(kWidthTwips - kMargin - kRefreshWidth, kDevicesTop - 120, kRefreshWidth, kRefreshHeight));
    connect(cmdRefresh_, &QPushButton::clicked, this, &COM_Set::refreshDevices);

    lstDevices_ = new QTreeWidget(this);
    lstDevices_->setObjectName(QStringLiteral("lstDevices"));
    lstDevices_->setGeometry(
        twipsRect(kMargin, kListTop, kWidthTwips - 2 * kMargin, kHeightTwips - kListTop - kMargin));
    lstDevices_->setRootIsDecorated(false);
    lstDevices_->setColumnCount(ColumnCount);
    lstDevices_->setHeaderLabels({QStringLiteral("Port"), QStringLiteral("Device"), QStringLiteral("Description"),
                                  QStringLiteral("Manufacturer"), QStringLiteral("Serial number"),
                                  QStringLiteral("USB ID")});
    lstDevices_->header()->setStretchLastSection(false);
    connect(lstDevices_, &QTreeWidget::itemClicked, this, &COM_Set::pickRow);
    connect(lstDevices_, &QTreeWidget::itemActivated, this, &COM_Set::pickRow);

    refreshTimer_.setInterval(kDeviceRefreshMs);
    connect(&refreshTimer_, &QTimer::timeout, this, &COM_Set::refreshDevices);
}

void COM_Set::refreshDevices()
{
    if (!listDevices) return;
    std::vector<fw::DetectedPort> ports = listDevices();
    if (sameRows(ports, shown_)) return;  // an unchanged list keeps its scroll position and selection
    const QTreeWidgetItem* current = lstDevices_->currentItem();
    const QString picked = current ? current->text(ColDevice) : QString();
    shown_ = std::move(ports);
    lstDevices_->clear();
    for (const fw::DetectedPort& port : shown_) {
        auto* item = new QTreeWidgetItem(lstDevices_, rowTexts(port));
        if (!picked.isEmpty() && item->text(ColDevice) == picked) lstDevices_->setCurrentItem(item);
    }
    for (int c = 0; c < ColumnCount; ++c) lstDevices_->resizeColumnToContents(c);
}

void COM_Set::pickRow()
{
    const int row = lstDevices_->indexOfTopLevelItem(lstDevices_->currentItem());
    if (row < 0 || static_cast<std::size_t>(row) >= shown_.size()) return;
    if (devicePicked) devicePicked(shown_[static_cast<std::size_t>(row)]);
}

void COM_Set::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    refreshDevices();
    refreshTimer_.start();
}

void COM_Set::hideEvent(QHideEvent* event)
{
    refreshTimer_.stop();
    QDialog::hideEvent(event);
}

QString COM_Set::listText() const { return Combo_Com_->currentText(); }

QString COM_Set::deviceText() const { return txtDevice_->text(); }

void COM_Set::setDeviceText(const QString& text) { txtDevice_->setText(text); }

void COM_Set::setListText(const QString& text)
{
    standingText_ = text;
    Combo_Com_->setEditText(text);
}

void COM_Set::hideKeepingText()
{
    standingText_ = listText();
    hide();
}

void COM_Set::reject()
{
    Combo_Com_->setEditText(standingText_);
    QDialog::reject();
}

} // namespace fw::qt
