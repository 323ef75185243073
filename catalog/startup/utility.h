#pragma once

// The program's beep: 400 Hz for 150 ms.
void Pipni();
