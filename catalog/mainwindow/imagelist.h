#pragma once

#include <QPixmap>
#include <vector>

// The main window's pictures by their one-based index: 1 to 3 the flags of the interface
// languages (the index is the language number), 4 the document icon, 5 the PDF icon.
// Drawn here rather than shipped, so the program folder needs no picture files.
class ImageList
{
public:
    ImageList();
    // A null picture for an index that is not there.
    QPixmap ListImages(int index) const;
    int Count() const { return int(m_pictures.size()); }

private:
    std::vector<QPixmap> m_pictures;
};
