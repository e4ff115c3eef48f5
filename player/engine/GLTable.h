#pragma once
// clang-format off
#include <windows.h>
#include <GL/gl.h>
// clang-format on

// The GL and WGL entry points the engine calls, resolved at run time from
// "OPENGL32.DLL" so that the program starts on machines without OpenGL.
#define VISTELLO_GL_ENTRIES(X)                                                                                   \
    X(glClearColor) X(glClear) X(glAlphaFunc) X(glBlendFunc) X(glCullFace) X(glFrontFace) X(glPointSize)          \
    X(glLineWidth) X(glLineStipple) X(glPolygonMode) X(glScissor) X(glClipPlane) X(glDrawBuffer) X(glReadBuffer)   \
    X(glDisable) X(glEnable) X(glEnableClientState) X(glDisableClientState) X(glGetIntegerv) X(glRenderMode)      \
    X(glGetError) X(glGetString) X(glFinish) X(glFlush) X(glHint) X(glClearDepth) X(glDepthFunc) X(glDepthMask)   \
    X(glDepthRange) X(glMatrixMode) X(glOrtho) X(glFrustum) X(glViewport) X(glPushMatrix) X(glPopMatrix)          \
    X(glLoadIdentity) X(glLoadMatrixf) X(glMultMatrixf) X(glRotatef) X(glScalef) X(glTranslatef) X(glBegin)       \
    X(glEnd) X(glVertex3fv) X(glNormal3fv) X(glColor4fv) X(glTexCoord2fv) X(glVertexPointer) X(glNormalPointer)   \
    X(glColorPointer) X(glTexCoordPointer) X(glDrawArrays) X(glDrawElements) X(glShadeModel) X(glLightf)          \
    X(glLightfv) X(glLightModelfv) X(glMaterialf) X(glMaterialfv) X(glColorMaterial) X(glPixelStorei)             \
    X(glReadPixels) X(glDrawPixels) X(glCopyPixels) X(glStencilFunc) X(glStencilMask) X(glStencilOp)              \
    X(glClearStencil) X(glTexGeni) X(glTexEnvi) X(glTexEnvfv) X(glTexParameteri) X(glTexImage2D)                  \
    X(glDeleteTextures) X(glBindTexture) X(glPrioritizeTextures) X(glFogf) X(glFogi) X(glFogfv) X(glSelectBuffer) \
    X(glInitNames) X(glLoadName) X(glPushName) X(glPopName) X(glTexGenfv) X(glRectf) X(glColorMask)              \
    X(glInterleavedArrays) X(glColor3ubv) X(glColor4ubv) X(glNewList) X(glEndList) X(glCallList) X(glDeleteLists) \
    X(wglCreateContext) X(wglDeleteContext) X(wglMakeCurrent) X(wglGetProcAddress)

#ifndef GL_CLAMP_TO_EDGE
#define GL_CLAMP_TO_EDGE 0x812F
#endif

using PVAddSwapHintRect = void(WINAPI*)(GLint x, GLint y, GLsizei width, GLsizei height);

// The process-wide table. All calls come from the user-interface thread, so
// it is not locked. The members are plain pointers: tests may wrap one to
// watch the calls made through it.
struct GLTable {
#define VISTELLO_GL_MEMBER(name) decltype(&::name) name;
    VISTELLO_GL_ENTRIES(VISTELLO_GL_MEMBER)
#undef VISTELLO_GL_MEMBER
    // GL_CLAMP_TO_EDGE when the library has the edge-clamp extension.
    GLint edgeClampMode;
    // glAddSwapHintRectWIN, or null without the swap-hint extension.
    PVAddSwapHintRect addSwapHintRect;
};

extern GLTable gGL;

// Loads the library and every entry point on the first use, and only counts
// later ones. 0 on success, 1 when the library cannot be loaded, 2 when an
// entry point is missing (the table then stays empty).
int LoadGLTable(const char* library = "OPENGL32.DLL");
// Drops one use; the last one clears the table (the library stays loaded).
void ReleaseGLTable();
// Sets the edge-clamp mode and the swap-hint function from an extension
// string, by plain substring search as drivers of the time expected.
void ApplyGLExtensions(const char* extensions);
