#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;

// The printer of the old runtime: a page measured in twips of its printable area, a text
// cursor, a font in points, lines of text and thin lines. The same drawing code draws on
// a printer's page or into a page picture; both measure text with the same font at the
// same size in twips, so a page looks in the preview as it prints.
namespace printer {

// The units of a surface's positions and sizes, as the old scale modes numbered them.
enum ScaleModes : int { vbTwips = 1, vbMillimeters = 6 };

// Drawing in twips with a cursor and a font. Text is measured in the font's own design
// size (the point size as twips), never at a device's resolution.
class Surface
{
public:
    virtual ~Surface();
    Surface(const Surface &) = delete;
    Surface &operator=(const Surface &) = delete;

    // The printable area, in the surface's unit.
    double ScaleWidth() const { return m_scaleWidth / m_unit; }
    double ScaleHeight() const { return m_scaleHeight / m_unit; }
    // Twips (the default) or millimetres for every position, size and measurement; the
    // cursor keeps its place on the page.
    int scaleMode() const { return m_scaleMode; }
    void ScaleMode(int mode);

    double CurrentX = 0;
    double CurrentY = 0;

    QString FontName() const { return m_fontName; }
    void FontName(const QString &name);
    double FontSize() const { return m_fontSize; }
    // Sizes below 1 point are taken as 1: a font needs a size to measure by.
    void FontSize(double points);
    bool FontBold() const { return m_font.bold(); }
    void FontBold(bool bold);
    const QFont &font() const { return m_font; }
    // Changes with every change of the font, so that a caller can keep a width it
    // measured for as long as the font stays.
    quint64 fontGeneration() const { return m_fontGeneration; }

    // Writes a line: the text with its top left corner at the cursor, then the cursor
    // moves to the start of the next line (CurrentX 0, CurrentY one line height down).
    void Print(const QString &text = QString());
    double TextWidth(const QString &text) const;
    // The height of one line of the current font.
    double TextHeight() const;
    // A thin black line.
    void Line(double x1, double y1, double x2, double y2);
    // The picture stretched into the rectangle, smoothly.
    void PaintPicture(const QImage &picture, double x, double y, double width, double height);
    // The device's dots per inch: a picture need not be finer than this.
    virtual double Resolution() const = 0;

protected:
    Surface();
    void setScale(double width, double height) { m_scaleWidth = width; m_scaleHeight = height; }
    // The painter to draw with, scaled to twips; null when nothing can be drawn.
    virtual QPainter *painter() = 0;
    // A new painter has no font of ours yet.
    void painterStarted() { m_fontApplied = false; }

private:
    void updateFont();
    void fontChanged();

    double m_scaleWidth = 0;   // twips
    double m_scaleHeight = 0;  // twips
    int m_scaleMode = vbTwips;
    double m_unit = 1;  // twips per unit
    QString m_fontName;
    double m_fontSize = 10;
    QFont m_font;
    // Measuring and setting the painter's font cost more than drawing a short text, so
    // both are done once per font change rather than once per text.
    std::optional<QFontMetricsF> m_metrics;
    bool m_fontApplied = false;
    quint64 m_fontGeneration = 0;
};

// One page picture: a white image of the printable area plus the border allowance, at
// `twipsPerPixel` (15 on the screen).
class PagePicture : public Surface
{
public:
    PagePicture(double scaleWidth, double scaleHeight, double extraWidth, double extraHeight,
                double twipsPerPixel = 15);
    ~PagePicture() override;
    // Clears the page to white.
    void Cls();
    // The picture, with everything drawn so far.
    const QImage &image();
    double Resolution() const override { return 1440.0 / m_twipsPerPixel; }

protected:
    QPainter *painter() override;

private:
    QImage m_image;
    std::unique_ptr<QPainter> m_painter;
    double m_twipsPerPixel;
};

// Orientation as the old printer knew it.
enum Orientation : int { vbPRORPortrait = 1, vbPRORLandscape = 2 };

// The printer: a printer of the system by its name, or a PDF file. Nothing reaches the
// printer until something is drawn, so a document without a page sends nothing. A
// printer that cannot start a document raises error 482, a PDF file that cannot be
// written error 75.
class Printer : public Surface
{
public:
    // The system's printer of this name; an empty name is the default printer.
    explicit Printer(const QString &deviceName = QString());
    ~Printer() override;

    // A PDF file of A4 paper in place of a printer.
    static std::unique_ptr<Printer> pdf(const QString &fileName);

    QString DeviceName() const;
    // Whether this writes a PDF file rather than to a printer of the system.
    bool isPdf() const;
    QString outputFileName() const;
    void setOutputFileName(const QString &fileName);

    int Orientation() const;
    // Takes effect for the next document (the printable area changes with it).
    void Orientation(int value);
    // Starts a new page of the document (a page with nothing on it yet stays one page).
    void NewPage();
    // Ends the document and sends it.
    void EndDoc();
    // Discards the unfinished document.
    void KillDoc();
    // The coordinate reset of the old printer: the cursor back to the corner.
    void ScaleMode() { CurrentX = 0; CurrentY = 0; }
    using Surface::ScaleMode;
    double Resolution() const override;
    // Pages begun in the current document.
    int pagesStarted() const { return m_pages; }

    QPrinter *qprinter() const { return m_printer.get(); }

protected:
    QPainter *painter() override;

private:
    struct PdfTag {};
    explicit Printer(PdfTag);
    void updateScale();

    std::unique_ptr<QPrinter> m_printer;
    std::unique_ptr<QPainter> m_painter;
    bool m_pendingNewPage = false;
    int m_pages = 0;
    bool m_pdf = false;
    bool m_installed = false;  // a printer of the system's list, or a PDF file
};

// The installed printers' names, and the system's default printer ("" when none).
QStringList Printers();
QString DefaultPrinterName();

}  // namespace printer
