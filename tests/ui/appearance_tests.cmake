# tests of the look and the links
