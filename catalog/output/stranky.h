#pragma once

#include <functional>

namespace printer { class Surface; }

// Where the page renderers draw: the surface of page i (0 first). The print preview gives
// each page a recording of its own, a print job gives the printer, starting a new sheet for
// each further page. A renderer asks for its pages in order and may ask for page 0 more
// than once (to measure before it draws).
using Stranky = std::function<printer::Surface &(int)>;
