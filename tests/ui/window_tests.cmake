# tests of the window
