#include "printer.h"

#include "vberror.h"

#include <QFile>
#include <QFontMetricsF>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>
#include <QPrinterInfo>

namespace printer {

namespace {

constexpr double TwipsPerInch = 1440.0;
constexpr double TwipsPerPoint = 20.0;
constexpr double MillimetresPerInch = 25.4;
// A thin line: about a pixel on the screen, a fine line on paper.
constexpr double LineWidth = 12.0;

}  // namespace

// --- Surface ---

Surface::Surface()
{
    FontName(QStringLiteral("Arial"));
}

Surface::~Surface() = default;

void Surface::FontName(const QString &name)
{
    m_fontName = name;
    updateFont();
}

void Surface::FontSize(double points)
{
    m_fontSize = points < 1 ? 1 : points;
    updateFont();
}

void Surface::FontBold(bool bold)
{
    if (m_font.bold() == bold)
        return;
    m_font.setBold(bold);
    fontChanged();
}

void Surface::fontChanged()
{
    m_metrics.emplace(m_font);
    m_fontApplied = false;
    static quint64 generations = 0;
    m_fontGeneration = ++generations;
}

void Surface::updateFont()
{
    const bool bold = m_font.bold();
    // The old fonts' names ("Arial CE" was Arial with Central European letters) fall
    // back to the font they named, and that to its metric twin where it is missing.
    QString family = m_fontName;
    if (family.endsWith(QLatin1String(" CE")))
        family.chop(3);
    m_font = QFont();
    m_font.setFamilies({family, QStringLiteral("Arial"), QStringLiteral("Liberation Sans")});
    // The size in twips as pixels of the twips space: measuring never depends on a
    // device's resolution, and the painter scales twips to the device.
    m_font.setPixelSize(qMax(1, qRound(m_fontSize * TwipsPerPoint)));
    m_font.setHintingPreference(QFont::PreferNoHinting);
    m_font.setBold(bold);
    fontChanged();
}

void Surface::ScaleMode(int mode)
{
    const double unit = mode == vbMillimeters ? TwipsPerInch / MillimetresPerInch : 1.0;
    CurrentX = CurrentX * m_unit / unit;
    CurrentY = CurrentY * m_unit / unit;
    m_scaleMode = mode == vbMillimeters ? vbMillimeters : vbTwips;
    m_unit = unit;
}

void Surface::Print(const QString &text)
{
    if (!text.isEmpty()) {
        if (QPainter *p = painter()) {
            if (!m_fontApplied) {
                p->setFont(m_font);
                p->setPen(Qt::black);
                m_fontApplied = true;
            }
            p->drawText(QPointF(CurrentX * m_unit, CurrentY * m_unit + m_metrics->ascent()), text);
        }
    }
    CurrentX = 0;
    CurrentY += TextHeight();
}

double Surface::TextWidth(const QString &text) const
{
    return m_metrics->horizontalAdvance(text) / m_unit;
}

double Surface::TextHeight() const
{
    return m_metrics->lineSpacing() / m_unit;
}

void Surface::Line(double x1, double y1, double x2, double y2)
{
    QPainter *p = painter();
    if (!p)
        return;
    QPen pen(Qt::black);
    pen.setWidthF(LineWidth);
    p->setPen(pen);
    p->drawLine(QPointF(x1 * m_unit, y1 * m_unit), QPointF(x2 * m_unit, y2 * m_unit));
    // The text's pen goes back with the font.
    m_fontApplied = false;
}

void Surface::PaintPicture(const QImage &picture, double x, double y, double width, double height)
{
    if (picture.isNull() || width <= 0 || height <= 0)
        return;
    QPainter *p = painter();
    if (!p)
        return;
    p->save();
    p->setRenderHint(QPainter::SmoothPixmapTransform);
    p->drawImage(QRectF(x * m_unit, y * m_unit, width * m_unit, height * m_unit), picture);
    p->restore();
}

// --- PagePicture ---

PagePicture::PagePicture(double scaleWidth, double scaleHeight, double extraWidth, double extraHeight,
                         double twipsPerPixel)
    : m_twipsPerPixel(twipsPerPixel)
{
    setScale(scaleWidth, scaleHeight);
    m_image = QImage(qMax(1, qRound((scaleWidth + extraWidth) / twipsPerPixel)),
                     qMax(1, qRound((scaleHeight + extraHeight) / twipsPerPixel)), QImage::Format_RGB32);
    m_image.fill(Qt::white);
}

PagePicture::~PagePicture() = default;

void PagePicture::Cls()
{
    m_painter.reset();
    m_image.fill(Qt::white);
    CurrentX = 0;
    CurrentY = 0;
}

const QImage &PagePicture::image()
{
    // The painter ends before the picture is read, so that everything drawn is in it.
    m_painter.reset();
    return m_image;
}

QPainter *PagePicture::painter()
{
    if (!m_painter) {
        m_painter = std::make_unique<QPainter>(&m_image);
        m_painter->setRenderHint(QPainter::TextAntialiasing);
        m_painter->scale(1.0 / m_twipsPerPixel, 1.0 / m_twipsPerPixel);
        painterStarted();
    }
    return m_painter.get();
}

// --- Printer ---

Printer::Printer(const QString &deviceName)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    const QString name = deviceName.isEmpty() ? DefaultPrinterName() : deviceName;
    m_installed = !name.isEmpty() && Printers().contains(name);
    if (m_installed)
        m_printer->setPrinterName(name);
    updateScale();
}

Printer::~Printer()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
}

Printer::Printer(PdfTag)
    : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    m_pdf = true;
    m_installed = true;
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setPageSize(QPageSize(QPageSize::A4));
    // A quarter of an inch stays unprinted, as on most printers.
    m_printer->setPageMargins(QMarginsF(6.35, 6.35, 6.35, 6.35), QPageLayout::Millimeter);
    updateScale();
}

std::unique_ptr<Printer> Printer::pdf(const QString &fileName)
{
    std::unique_ptr<Printer> p(new Printer(PdfTag{}));
    p->m_printer->setOutputFileName(fileName);
    return p;
}

QString Printer::DeviceName() const
{
    return isPdf() ? QString() : m_printer->printerName();
}

double Printer::Resolution() const
{
    return m_printer->resolution();
}

bool Printer::isPdf() const
{
    return m_pdf;
}

QString Printer::outputFileName() const
{
    return m_printer->outputFileName();
}

void Printer::setOutputFileName(const QString &fileName)
{
    m_printer->setOutputFileName(fileName);
}

int Printer::Orientation() const
{
    return m_printer->pageLayout().orientation() == QPageLayout::Landscape ? vbPRORLandscape : vbPRORPortrait;
}

void Printer::Orientation(int value)
{
    if (m_painter && m_painter->isActive())
        return;
    m_printer->setPageOrientation(value == vbPRORLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    updateScale();
}

void Printer::updateScale()
{
    const QRectF area = m_printer->pageLayout().paintRect(QPageLayout::Inch);
    setScale(qRound(area.width() * TwipsPerInch), qRound(area.height() * TwipsPerInch));
}

QPainter *Printer::painter()
{
    if (!m_painter) {
        auto p = std::make_unique<QPainter>();
        if (!m_installed || !p->begin(m_printer.get())) {
            if (m_pdf)
                throw VbError(75, QStringLiteral("Printer"),
                              QStringLiteral("Path/File access error: ") + m_printer->outputFileName());
            throw VbError(482, QStringLiteral("Printer"), QStringLiteral("Printer error"));
        }
        const double scale = m_printer->resolution() / TwipsPerInch;
        p->scale(scale, scale);
        p->setRenderHint(QPainter::TextAntialiasing);
        m_painter = std::move(p);
        painterStarted();
        m_pages = 1;
        m_pendingNewPage = false;
    } else if (m_pendingNewPage) {
        m_pendingNewPage = false;
        if (!m_printer->newPage())
            throw VbError(482, QStringLiteral("Printer"), QStringLiteral("Printer error"));
        ++m_pages;
    }
    return m_painter.get();
}

void Printer::NewPage()
{
    // The page starts when something is drawn on it: a new page left empty at the end
    // of the document never comes out as a blank sheet.
    if (m_painter)
        m_pendingNewPage = true;
    CurrentX = 0;
    CurrentY = 0;
}

void Printer::EndDoc()
{
    if (m_painter) {
        m_painter->end();
        m_painter.reset();
    }
    m_pendingNewPage = false;
    m_pages = 0;
    CurrentX = 0;
    CurrentY = 0;
}

void Printer::KillDoc()
{
    if (m_painter) {
        m_printer->abort();
        if (m_painter->isActive())
            m_painter->end();
        m_painter.reset();
        if (isPdf() && !m_printer->outputFileName().isEmpty())
            QFile::remove(m_printer->outputFileName());
    }
    m_pendingNewPage = false;
    m_pages = 0;
    CurrentX = 0;
    CurrentY = 0;
}

QStringList Printers()
{
    return QPrinterInfo::availablePrinterNames();
}

QString DefaultPrinterName()
{
    return QPrinterInfo::defaultPrinterName();
}

}  // namespace printer
