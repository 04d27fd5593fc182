// The look of Form1: size, rectangles, captions, colours, fonts, keyboard
// order, accessible names, link buttons, and a screenshot.
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFontDatabase>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <cstdlib>

#include "form1_test_support.h"
#include "paycalc/fields.h"
#include "paycalc/situation_inputs.h"
#include "window/form1.h"
#include "window/form1_layout.h"
#include "window/svg_picture.h"

using paycalc::Field;

Q_DECLARE_METATYPE(paycalc::Field)

namespace {

// A rectangle in twips, from the top-left corner of the client area.
QRect FromTwips(int left, int top, int width, int height) { return {left / 15, top / 15, width / 15, height / 15}; }

QRect RectInWindow(const QWidget &form, const QWidget &widget)
{
    return {widget.mapTo(&form, QPoint(0, 0)), widget.size()};
}

QString Title(Field field) { return QString::fromStdString(paycalc::FieldTitle(field)); }

using paywindow::CaptionTitle;

// Receives the pages the link buttons hand to the desktop.
class LinkCatcher : public QObject {
    Q_OBJECT

public:
    QList<QUrl> opened;

public slots:
    void open(const QUrl &url) { opened << url; }
};

} // namespace

class Form1LayoutTest : public QObject {
    Q_OBJECT

private slots:
    void windowHasFixedSizeAndCaption();
    void rectangles_data();
    void rectangles();
    void labelsStandRightOfTheirFields();
    void captions_data();
    void captions();
    void inputCaptionsAreTheInputsTables();
    void colours_data();
    void colours();
    void fonts();
    void readingDirectionIsRightToLeft();
    void inputsAndDisplayFields();
    void hiddenWorkingFieldsHaveNoControl();
    void tabOrder();
    void accessibleNames_data();
    void accessibleNames();
    void netPayIsAnnouncedWithItsAmount();
    void linkButtonsOpenTheProjectPages();
    void creditsNameTheProgramAndItsSite();
    void prerenderedPicturesMatchTheirSvg_data();
    void prerenderedPicturesMatchTheirSvg();
    void pictureIsShownFromItsPrerenderedPng();
    void screenshot();
};

void Form1LayoutTest::windowHasFixedSizeAndCaption()
{
    Form1 form;
    QCOMPARE(form.size(), QSize(1072, 565));
    QCOMPARE(form.minimumSize(), QSize(1072, 565));
    QCOMPARE(form.maximumSize(), QSize(1072, 565));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
    QVERIFY(!form.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    QVERIFY(form.windowFlags().testFlag(Qt::WindowCloseButtonHint));
    QCOMPARE(form.windowTitle(), QStringLiteral("كشف الراتب جانفي 2016"));
    QVERIFY(!form.windowIcon().isNull());
    QVERIFY(form.windowIcon().availableSizes().contains(QSize(48, 48)));
}

void Form1LayoutTest::rectangles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("rect");

    // Group position plus the control's position in the group, in twips.
    QTest::newRow("Frame2") << "Frame2" << FromTwips(10200, 0, 5775, 1335);
    QTest::newRow("Frame17") << "Frame17" << FromTwips(240, 960, 4095, 1935);
    QTest::newRow("Combo1(0)") << "Combo1(0)" << FromTwips(10200 + 3240, 0 + 240, 1575, 405);
    QTest::newRow("Combo1(4)") << "Combo1(4)" << FromTwips(10200 + 120, 0 + 720, 3255, 405);
    QTest::newRow("Combo1(6)") << "Combo1(6)" << FromTwips(10200 + 120, 1320 + 720, 1455, 405);
    QTest::newRow("Check1") << "Check1" << FromTwips(10440 + 2880, 2520 + 240, 975, 285);
    QTest::newRow("Text1") << "Text1" << FromTwips(10440 + 240, 3240 + 240, 2055, 405);
    QTest::newRow("Text9") << "Text9" << FromTwips(10440 + 240, 4440 + 3360, 2175, 405);
    QTest::newRow("Label19") << "Label19" << FromTwips(10440 + 2520, 4440 + 3240, 2655, 615);
    QTest::newRow("Text14") << "Text14" << FromTwips(4560 + 120, 2400 + 240, 2175, 405);
    QTest::newRow("Label24") << "Label24" << FromTwips(4560 + 2640, 2400 + 240, 1575, 375);
    QTest::newRow("Text21") << "Text21" << FromTwips(4560 + 120, 6240 + 240, 2175, 405);
    QTest::newRow("Label26") << "Label26" << FromTwips(4560 + 3120, 6240 + 240, 1335, 375);
    QTest::newRow("Text23") << "Text23" << FromTwips(4560 + 1680, 6960 + 240, 855, 405);
    QTest::newRow("Text22") << "Text22" << FromTwips(4560 + 120, 6960 + 840, 2535, 405);
    QTest::newRow("Command5") << "Command5" << FromTwips(240 + 2640, 960 + 1200, 1335, 495);
    QTest::newRow("Command2") << "Command2" << FromTwips(240 + 120, 960 + 1200, 2415, 495);
    QTest::newRow("Image2") << "Image2" << FromTwips(0, 3000, 4365, 3375);
    QTest::newRow("message") << "RecalcMessage" << FromTwips(240, 6420, 4095, 900);
}

void Form1LayoutTest::rectangles()
{
    QFETCH(QString, name);
    QFETCH(QRect, rect);

    Form1 form;
    auto *widget = form.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(RectInWindow(form, *widget), rect);
}

void Form1LayoutTest::labelsStandRightOfTheirFields()
{
    Form1 form;
    int labels = 0;
    for (QLabel *label : form.findChildren<QLabel *>()) {
        QWidget *field = label->buddy();
        if (!field) continue;
        ++labels;
        const QRect l = RectInWindow(form, *label);
        const QRect f = RectInWindow(form, *field);
        QVERIFY2(l.center().x() > f.right(), qPrintable(label->objectName()));
        QVERIFY2(l.top() <= f.bottom() && f.top() <= l.bottom(), qPrintable(label->objectName())); // same row
    }
    QCOMPARE(labels, 7 + 1 + 23); // the lists, Check1, the visible text boxes
}

void Form1LayoutTest::captions_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");

    QTest::newRow("Label1") << "Label1" << QStringLiteral("الصنف :");
    QTest::newRow("Label2") << "Label2" << QStringLiteral("إختر الدرجة :");
    QTest::newRow("Label8") << "Label8" << QStringLiteral("المنصب النوعي :");
    QTest::newRow("Label7") << "Label7" << QStringLiteral("عدد الأولاد  :");
    QTest::newRow("Label12") << "Label12" << QStringLiteral("الأكبر من 10  :");
    QTest::newRow("Label17") << "Label17" << QStringLiteral(" الحالة العائلية :");
    QTest::newRow("Label13") << "Label13" << QStringLiteral("مهنة الزوجة  :");
    QTest::newRow("Label11") << "Label11" << QStringLiteral("التعاضدية :");
    QTest::newRow("Label58") << "Label58" << QStringLiteral("عدد ايام الغياب");
    QTest::newRow("Label6") << "Label6" << QStringLiteral(" الاجر الأساسي ");
    QTest::newRow("Label29") << "Label29" << QStringLiteral("منحة الخبرة البيداغوجية /\nأو تعويض التسيير المالي والمادي");
    QTest::newRow("Label41") << "Label41" << QStringLiteral("الاجر الخاضع للضمان الاجتماعي : ");
    QTest::newRow("Label24") << "Label24" << QStringLiteral("Mensuel");
    QTest::newRow("Label23") << "Label23" << QStringLiteral("الضريبة على الدخل IRG :");
    QTest::newRow("Label26") << "Label26" << QStringLiteral("الراتب الصافي :");
    QTest::newRow("Label20") << "Label20" << QStringLiteral("علامة المردودية (3 اشهر):");
    QTest::newRow("Label21") << "Label21" << QStringLiteral(" مبلغ  المردودية  :");
    QTest::newRow("Check1") << "Check1" << QStringLiteral("مشترك");
    QTest::newRow("Command5") << "Command5" << QStringLiteral("الموقع");
    QTest::newRow("Command2") << "Command2" << QStringLiteral("لاستفساراتكم واقتراحاتكم");
}

void Form1LayoutTest::captions()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);

    Form1 form;
    auto *widget = form.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    if (auto *label = qobject_cast<QLabel *>(widget)) QCOMPARE(label->text(), caption);
    else QCOMPARE(qobject_cast<QAbstractButton *>(widget)->text(), caption);
}

// Beside each list, the box and each typed field of the situation stands
// the caption the inputs table gives it.
void Form1LayoutTest::inputCaptionsAreTheInputsTables()
{
    Form1 form;
    for (const paycalc::SituationInput &in : paycalc::kSituationInputs) {
        QWidget *field = in.list >= 0                         ? static_cast<QWidget *>(form.combo(in.list))
                         : in.input == paycalc::Input::Mutual ? static_cast<QWidget *>(form.check1())
                                                              : static_cast<QWidget *>(form.text(in.field));
        const QString name = QString::fromUtf8(in.name.data(), static_cast<qsizetype>(in.name.size()));
        QVERIFY2(field, qPrintable(name));
        QStringList shown;
        for (QLabel *label : form.findChildren<QLabel *>())
            if (label->buddy() == field) shown << label->text();
        QCOMPARE(shown, QStringList{QString::fromStdString(std::string(paycalc::CaptionOf(in)))});
    }
}

void Form1LayoutTest::colours_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    QTest::addColumn<QColor>("colour");

    const QColor pink(255, 192, 255), lavender(192, 192, 255), cyan(128, 255, 255), white(255, 255, 255);
    QTest::newRow("window") << "Form1" << int(QPalette::Window) << pink;
    QTest::newRow("Frame10") << "Frame10" << int(QPalette::Window) << pink;
    QTest::newRow("Frame17") << "Frame17" << int(QPalette::Window) << lavender;
    QTest::newRow("Text1") << "Text1" << int(QPalette::Base) << lavender;
    QTest::newRow("Text15") << "Text15" << int(QPalette::Base) << lavender;
    QTest::newRow("Text21") << "Text21" << int(QPalette::Base) << cyan;
    QTest::newRow("Text22") << "Text22" << int(QPalette::Base) << cyan;
    QTest::newRow("Text10") << "Text10" << int(QPalette::Base) << white;
    QTest::newRow("Text23") << "Text23" << int(QPalette::Base) << white;
    QTest::newRow("Combo1(0)") << "Combo1(0)" << int(QPalette::Button) << white;
    QTest::newRow("Combo1(4)") << "Combo1(4)" << int(QPalette::Button) << white;
    QTest::newRow("Check1") << "Check1" << int(QPalette::Window) << pink;
}

void Form1LayoutTest::colours()
{
    QFETCH(QString, name);
    QFETCH(int, role);
    QFETCH(QColor, colour);

    Form1 form;
    QWidget *widget = name == QLatin1String("Form1") ? &form : form.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QCOMPARE(widget->palette().color(static_cast<QPalette::ColorRole>(role)), colour);
}

void Form1LayoutTest::fonts()
{
    Form1 form;
    const QFont font = form.font();
    QVERIFY(font.bold());
    QCOMPARE(font.pointSizeF(), 12.0);
    if (QFontDatabase::hasFamily(QStringLiteral("Arial"))) QCOMPARE(font.family(), QStringLiteral("Arial"));
    else
        QVERIFY2(QFontDatabase::writingSystems(font.family()).contains(QFontDatabase::Arabic), qPrintable(font.family()));

    auto *label58 = form.findChild<QLabel *>(QStringLiteral("Label58"));
    QVERIFY(label58->font().bold());
    QVERIFY(label58->font().pointSizeF() <= 9.75);
    QVERIFY(!form.command5()->font().bold());
    QVERIFY(form.command5()->font().pointSizeF() <= 14.25);
    QVERIFY(form.command5()->font().pointSizeF() > 12);
    QVERIFY(form.command2()->font().bold());
    QVERIFY(form.command2()->font().pointSizeF() <= 12.75);
}

void Form1LayoutTest::readingDirectionIsRightToLeft()
{
    Form1 form;
    QCOMPARE(form.layoutDirection(), Qt::RightToLeft);
    for (QWidget *widget : form.findChildren<QWidget *>())
        QVERIFY2(widget->layoutDirection() == Qt::RightToLeft, qPrintable(widget->objectName()));
    QCOMPARE(form.text(Field::Text21)->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
}

void Form1LayoutTest::inputsAndDisplayFields()
{
    Form1 form;
    for (int i = 0; i < paycalc::kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        QLineEdit *box = form.text(field);
        if (!box) continue;
        const bool typed = paycalc::IsTypedField(field);
        QVERIFY2(box->isReadOnly() != typed, qPrintable(box->objectName()));
        // Display fields take the focus on a click only, never by Tab.
        QVERIFY2(box->focusPolicy() == (typed ? Qt::StrongFocus : Qt::ClickFocus), qPrintable(box->objectName()));
    }
}

void Form1LayoutTest::hiddenWorkingFieldsHaveNoControl()
{
    Form1 form;
    QVERIFY(form.text(Field::Text2000) == nullptr);
    QVERIFY(form.text(Field::Text2001) == nullptr);
    QCOMPARE(form.findChildren<QLineEdit *>().size(), 23);  // Text1 to Text23
    QVERIFY(!form.payForm().Text(Field::Text2001).empty()); // yet the computation has them
}

void Form1LayoutTest::tabOrder()
{
    Form1 form;
    form.show();
    QApplication::setActiveWindow(&form);
    QVERIFY(QTest::qWaitForWindowActive(&form));

    // clang-format off
    QWidget *const order[] = {
        form.combo(paycalc::kCategoryList), form.combo(paycalc::kEchelonList),
        form.combo(paycalc::kPostList), form.combo(paycalc::kChildrenList),
        form.combo(paycalc::kOverTenList), form.combo(paycalc::kFamilyStatusList),
        form.combo(paycalc::kSpouseList), form.check1(),
        form.text(Field::Text20), form.text(Field::Text10), form.text(Field::Text11),
        form.text(Field::Text23), form.command5(), form.command2(),
    };
    // clang-format on
    QTRY_COMPARE(QApplication::focusWidget(), order[0]); // the first stop has the focus at start
    for (std::size_t i = 1; i <= std::size(order); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QWidget *expected = order[i % std::size(order)];
        QVERIFY2(QApplication::focusWidget() == expected,
                 qPrintable(QStringLiteral("Tab %1 reached %2 instead of %3")
                                .arg(i)
                                .arg(QApplication::focusWidget()->objectName(), expected->objectName())));
    }
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QCOMPARE(QApplication::focusWidget(), order[std::size(order) - 1]);
}

void Form1LayoutTest::accessibleNames_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("accessible");

    for (int i = 0; i < paycalc::kFieldCount; ++i) {
        const auto field = static_cast<Field>(i);
        if (field == Field::Text2000 || field == Field::Text2001) continue;
        const QString name = QString::fromUtf8(paycalc::FieldName(field).data(),
                                               static_cast<qsizetype>(paycalc::FieldName(field).size()));
        QTest::newRow(qPrintable(name)) << name << Title(field);
    }
    QTest::newRow("Combo1(0)") << "Combo1(0)" << QStringLiteral("الصنف");
    QTest::newRow("Combo1(1)") << "Combo1(1)" << QStringLiteral("إختر الدرجة");
    QTest::newRow("Combo1(2)") << "Combo1(2)" << QStringLiteral("عدد الأولاد");
    QTest::newRow("Combo1(3)") << "Combo1(3)" << QStringLiteral("الأكبر من 10");
    QTest::newRow("Combo1(4)") << "Combo1(4)" << QStringLiteral("المنصب النوعي");
    QTest::newRow("Combo1(5)") << "Combo1(5)" << QStringLiteral("الحالة العائلية");
    QTest::newRow("Combo1(6)") << "Combo1(6)" << QStringLiteral("مهنة الزوجة");
    QTest::newRow("Check1") << "Check1" << QStringLiteral("التعاضدية");
    QTest::newRow("Command5") << "Command5" << QStringLiteral("الموقع");
    QTest::newRow("Command2") << "Command2" << QStringLiteral("لاستفساراتكم واقتراحاتكم");
}

void Form1LayoutTest::accessibleNames()
{
    QFETCH(QString, name);
    QFETCH(QString, accessible);

    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    auto *widget = form.findChild<QWidget *>(name);
    QVERIFY2(widget, qPrintable(name));
    QVERIFY(!accessible.isEmpty());
    QCOMPARE(widget->accessibleName(), accessible);
    QAccessibleInterface *interface = QAccessible::queryAccessibleInterface(widget);
    QVERIFY(interface);
    if (qobject_cast<QComboBox *>(widget) && interface->text(QAccessible::Name) != accessible) {
        // Qt on Linux names a list by its current entry and tells its name
        // through the label that labels it.
        const auto labels = interface->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(CaptionTitle(labels.front().first->text(QAccessible::Name)), accessible);
        return;
    }
    QCOMPARE(interface->text(QAccessible::Name), accessible);
}

void Form1LayoutTest::netPayIsAnnouncedWithItsAmount()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QAccessibleInterface *net = QAccessible::queryAccessibleInterface(form.text(Field::Text21));
    QCOMPARE(net->text(QAccessible::Name), QStringLiteral("الراتب الصافي"));
    QCOMPARE(net->text(QAccessible::Value), QStringLiteral("43432.12"));
    QVERIFY(net->state().readOnly);
}

void Form1LayoutTest::linkButtonsOpenTheProjectPages()
{
    LinkCatcher catcher;
    QDesktopServices::setUrlHandler(QStringLiteral("http"), &catcher, "open");
    Form1 form;
    QTest::mouseClick(form.command5(), Qt::LeftButton);
    QTest::mouseClick(form.command2(), Qt::LeftButton);
    QDesktopServices::unsetUrlHandler(QStringLiteral("http"));

    const QString host = QStringLiteral(PAYSLIP_WEB_HOST);
    QCOMPARE(catcher.opened.size(), 2);
    QCOMPARE(catcher.opened[0], QUrl(QStringLiteral("http://%1/").arg(host)));
    QCOMPARE(catcher.opened[1], QUrl(QStringLiteral("http://%1/new/contacte.php").arg(host)));
}

void Form1LayoutTest::creditsNameTheProgramAndItsSite()
{
    Form1 form;
    QVERIFY(form.label27()->text().contains(QStringLiteral("كشف الراتب")));
    QVERIFY(form.label27()->text().contains(QStringLiteral(PAYSLIP_VERSION)));
    QVERIFY(form.label25()->text().contains(QStringLiteral(PAYSLIP_WEB_HOST)));
    QVERIFY(!form.label27()->text().contains(QLatin1Char('@')));
    QVERIFY(!form.label25()->text().contains(QLatin1Char('@')));
}

void Form1LayoutTest::screenshot()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    const QImage shot = form.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const QString path = QDir(QStringLiteral(PAYSLIP_TEST_OUTPUT_DIR)).filePath(QStringLiteral("form1.png"));
    QVERIFY(shot.save(path));

    QSet<QRgb> colours;
    for (int y = 0; y < shot.height(); y += 2)
        for (int x = 0; x < shot.width(); x += 2) colours.insert(shot.pixel(x, y));
    QVERIFY2(colours.size() > 200, qPrintable(QString::number(colours.size())));

    // The window's colour between the groups, and the net pay's colour
    // inside its field, away from its text.
    const QRect net = RectInWindow(form, *form.text(Field::Text21));
    QCOMPARE(QColor(shot.pixel(net.left() + 6, net.center().y())), QColor(128, 255, 255));
    QCOMPARE(QColor(shot.pixel(10200 / 15 - 3, 100)), QColor(255, 192, 255));
}

namespace {

// The mean difference of two images of the same size, over every channel of
// every pixel, from 0 (alike) to 255.
double MeanDifference(const QImage &a, const QImage &b)
{
    const QImage x = a.convertToFormat(QImage::Format_ARGB32);
    const QImage y = b.convertToFormat(QImage::Format_ARGB32);
    double sum = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row);
            const QRgb q = y.pixel(col, row);
            sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q)) +
                   std::abs(qAlpha(p) - qAlpha(q));
        }
    return sum / (4.0 * x.width() * x.height());
}

} // namespace

// The picture and the icon are drawn at start-up from PNGs rendered from the
// SVGs beforehand; they must still be those SVGs (the text in the picture may
// be set in another font on another machine, hence a tolerance).
void Form1LayoutTest::prerenderedPicturesMatchTheirSvg_data()
{
    QTest::addColumn<QString>("svg");
    QTest::addColumn<QString>("png");
    QTest::addColumn<QSize>("size");
    QTest::newRow("picture") << ":/tap.svg"
                             << ":/tap.png" << QSize(4365 / 15, 3375 / 15);
    QTest::newRow("icon") << ":/payslip.svg"
                          << ":/payslip-48.png" << QSize(48, 48);
}

void Form1LayoutTest::prerenderedPicturesMatchTheirSvg()
{
    QFETCH(QString, svg);
    QFETCH(QString, png);
    QFETCH(QSize, size);
    Form1 form; // registers the resources
    const QImage prerendered(png);
    QCOMPARE(prerendered.size(), size);
    const QImage drawn = paywindow::RenderSvg(svg, size);
    const double difference = MeanDifference(prerendered, drawn);
    QVERIFY2(difference < 3.0, qPrintable(QString::number(difference)));
    // Another picture of the same size is far from it.
    QImage other(size, QImage::Format_ARGB32);
    other.fill(Qt::white);
    QVERIFY(MeanDifference(prerendered, other) > 10.0);
}

void Form1LayoutTest::pictureIsShownFromItsPrerenderedPng()
{
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
    QWidget *picture = form.findChild<QWidget *>(QStringLiteral("Image2"));
    QVERIFY(picture);
    QCOMPARE(picture->devicePixelRatioF(), 1.0);
    const QImage shown = picture->grab().toImage();
    QImage expected(picture->size(), QImage::Format_ARGB32_Premultiplied);
    expected.fill(form.palette().color(QPalette::Window));
    QPainter(&expected).drawImage(0, 0, QImage(QStringLiteral(":/tap.png")));
    QCOMPARE(MeanDifference(shown, expected), 0.0);
}

QTEST_MAIN(Form1LayoutTest)
#include "tst_form1_layout.moc"
