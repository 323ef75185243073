#pragma once

#include <QString>

class QWidget;

// The printer dialog of both print windows, the control library's preview and the
// program's own: what a window keeps of it between its jobs, and the one routine that
// asks the user.
struct VolbaTiskarny {
    QString printerName;      // the printer of the last job; empty: the default printer
    QString pdfFile;          // not empty: the last job went into this PDF file instead
    bool allPages = true;
    int od = 0;               // the range of the last dialog, from 1; 0 before the first
    int doStrany = 0;
    int copies = 1;
    QString puvodniTiskarna;  // the default printer when the dialog opened
};

// Shows the print dialog for `pageCount` pages in `orientace` (1 portrait, 2 landscape):
// the printer of the last job proposed (else the default printer), or with no printer
// installed a PDF file, with the page range and the copies to choose either way; the
// range fields hold the last range (1 to the last page before the first print). On OK
// keeps the choice in `volba` and `orientace` and returns true. Cancelled: the default
// printer of before the dialog is the default again, `volba` stays, false.
bool ZvolTiskarnu(QWidget *parent, VolbaTiskarny &volba, qint32 &orientace, int pageCount);
