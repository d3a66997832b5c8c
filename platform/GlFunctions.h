#pragma once
// The OpenGL 3.3 core entry points the display back end uses, loaded from the context.

#include <GL/glcorearb.h>

namespace platform {

#define CLD_GL_FUNCTIONS(X)                                    \
  X(PFNGLGETSTRINGPROC, GetString)                             \
  X(PFNGLGETINTEGERVPROC, GetIntegerv)                         \
  X(PFNGLVIEWPORTPROC, Viewport)                               \
  X(PFNGLSCISSORPROC, Scissor)                                 \
  X(PFNGLENABLEPROC, Enable)                                   \
  X(PFNGLDISABLEPROC, Disable)                                 \
  X(PFNGLBLENDFUNCPROC, BlendFunc)                             \
  X(PFNGLCLEARCOLORPROC, ClearColor)                           \
  X(PFNGLCLEARPROC, Clear)                                     \
  X(PFNGLFLUSHPROC, Flush)                                     \
  X(PFNGLREADPIXELSPROC, ReadPixels)                           \
  X(PFNGLREADBUFFERPROC, ReadBuffer)                           \
  X(PFNGLGETTEXIMAGEPROC, GetTexImage)                         \
  X(PFNGLPIXELSTOREIPROC, PixelStorei)                         \
  X(PFNGLGENTEXTURESPROC, GenTextures)                         \
  X(PFNGLDELETETEXTURESPROC, DeleteTextures)                   \
  X(PFNGLBINDTEXTUREPROC, BindTexture)                         \
  X(PFNGLTEXIMAGE2DPROC, TexImage2D)                           \
  X(PFNGLTEXPARAMETERIPROC, TexParameteri)                     \
  X(PFNGLACTIVETEXTUREPROC, ActiveTexture)                     \
  X(PFNGLGENSAMPLERSPROC, GenSamplers)                         \
  X(PFNGLDELETESAMPLERSPROC, DeleteSamplers)                   \
  X(PFNGLBINDSAMPLERPROC, BindSampler)                         \
  X(PFNGLSAMPLERPARAMETERIPROC, SamplerParameteri)             \
  X(PFNGLGENBUFFERSPROC, GenBuffers)                           \
  X(PFNGLDELETEBUFFERSPROC, DeleteBuffers)                     \
  X(PFNGLBINDBUFFERPROC, BindBuffer)                           \
  X(PFNGLBUFFERDATAPROC, BufferData)                           \
  X(PFNGLBUFFERSUBDATAPROC, BufferSubData)                     \
  X(PFNGLGENVERTEXARRAYSPROC, GenVertexArrays)                 \
  X(PFNGLDELETEVERTEXARRAYSPROC, DeleteVertexArrays)           \
  X(PFNGLBINDVERTEXARRAYPROC, BindVertexArray)                 \
  X(PFNGLENABLEVERTEXATTRIBARRAYPROC, EnableVertexAttribArray) \
  X(PFNGLVERTEXATTRIBPOINTERPROC, VertexAttribPointer)         \
  X(PFNGLDRAWARRAYSPROC, DrawArrays)                           \
  X(PFNGLCREATESHADERPROC, CreateShader)                       \
  X(PFNGLSHADERSOURCEPROC, ShaderSource)                       \
  X(PFNGLCOMPILESHADERPROC, CompileShader)                     \
  X(PFNGLGETSHADERIVPROC, GetShaderiv)                         \
  X(PFNGLGETSHADERINFOLOGPROC, GetShaderInfoLog)               \
  X(PFNGLDELETESHADERPROC, DeleteShader)                       \
  X(PFNGLCREATEPROGRAMPROC, CreateProgram)                     \
  X(PFNGLATTACHSHADERPROC, AttachShader)                       \
  X(PFNGLBINDATTRIBLOCATIONPROC, BindAttribLocation)           \
  X(PFNGLLINKPROGRAMPROC, LinkProgram)                         \
  X(PFNGLGETPROGRAMIVPROC, GetProgramiv)                       \
  X(PFNGLDELETEPROGRAMPROC, DeleteProgram)                     \
  X(PFNGLUSEPROGRAMPROC, UseProgram)                           \
  X(PFNGLGETUNIFORMLOCATIONPROC, GetUniformLocation)           \
  X(PFNGLUNIFORM1IPROC, Uniform1i)                             \
  X(PFNGLUNIFORM4FPROC, Uniform4f)                             \
  X(PFNGLGENFRAMEBUFFERSPROC, GenFramebuffers)                 \
  X(PFNGLDELETEFRAMEBUFFERSPROC, DeleteFramebuffers)           \
  X(PFNGLBINDFRAMEBUFFERPROC, BindFramebuffer)                 \
  X(PFNGLFRAMEBUFFERTEXTURE2DPROC, FramebufferTexture2D)       \
  X(PFNGLCHECKFRAMEBUFFERSTATUSPROC, CheckFramebufferStatus)   \
  X(PFNGLBLITFRAMEBUFFERPROC, BlitFramebuffer)

/// Function pointers of the current OpenGL context.
struct TGlFunctions {
#define CLD_GL_MEMBER(type, name) type name = nullptr;
  CLD_GL_FUNCTIONS(CLD_GL_MEMBER)
#undef CLD_GL_MEMBER

  /// Loads every entry point from the current context; false when one is missing.
  bool Load();
};

}  // namespace platform
