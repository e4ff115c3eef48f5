#include "GLCallCounter.h"

namespace {

GLCallCounter* gCounter = nullptr;
GLTable gOriginal;

void WINAPI TexImage2D(GLenum target, GLint level, GLint internal, GLsizei w, GLsizei h, GLint border, GLenum format,
                       GLenum type, const GLvoid* pixels)
{
    ++gCounter->texImages;
    gOriginal.glTexImage2D(target, level, internal, w, h, border, format, type, pixels);
}

void WINAPI DeleteTextures(GLsizei n, const GLuint* names)
{
    gCounter->deletedTextures += n;
    gOriginal.glDeleteTextures(n, names);
}

void WINAPI DrawArrays(GLenum mode, GLint first, GLsizei count)
{
    gCounter->quadDraws += mode == GL_QUADS;
    gOriginal.glDrawArrays(mode, first, count);
}

void WINAPI TexParameteri(GLenum target, GLenum name, GLint value)
{
    if (name == GL_TEXTURE_WRAP_S)
        gCounter->wrapS = value;
    if (name == GL_TEXTURE_WRAP_T)
        gCounter->wrapT = value;
    gOriginal.glTexParameteri(target, name, value);
}

}  // namespace

GLCallCounter::GLCallCounter()
{
    gCounter = this;
    gOriginal = gGL;
    gGL.glTexImage2D = TexImage2D;
    gGL.glDeleteTextures = DeleteTextures;
    gGL.glDrawArrays = DrawArrays;
    gGL.glTexParameteri = TexParameteri;
}

GLCallCounter::~GLCallCounter()
{
    gGL.glTexImage2D = gOriginal.glTexImage2D;
    gGL.glDeleteTextures = gOriginal.glDeleteTextures;
    gGL.glDrawArrays = gOriginal.glDrawArrays;
    gGL.glTexParameteri = gOriginal.glTexParameteri;
    gCounter = nullptr;
}
