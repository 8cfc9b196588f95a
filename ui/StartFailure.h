#pragma once
// The failure branch: no suitable runtime. Shows the dialog; returns 1.
int ShowStartFailure();
