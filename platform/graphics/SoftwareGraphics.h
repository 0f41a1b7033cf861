#pragma once

// The program draws in software: Qt's widgets always do, and the web pages
// are told to by the web engine's module. Called before the application
// object is made, this keeps Qt's X11 OpenGL integration out as well, which
// would otherwise load a GL driver (with Mesa's software rasteriser, all of
// LLVM) into the program the moment the web engine asks about OpenGL. The
// player's pictures are drawn by the CPU as well. A choice the user made in
// the environment stands.
void PrepareSoftwareGraphics();
