/* glfwAdoptNativeWindow for Win32, a layer over GLFW 3.3 that leaves GLFW's code as it is.

   It is built against GLFW's internal headers of the same source tree, so it makes the
   window record and the context exactly as glfwCreateWindow does, minus the window itself.

   GLFW's record has no room for the two things an adopted window needs (that it was adopted,
   and the window procedure it had before), so they live in a side list keyed by the record.
   GLFW's teardown would destroy the native window; instead the record's context teardown is
   wrapped: once the context is gone, the host loses the "GLFW" property, gets its own window
   procedure back, and the record's handle is cleared, so GLFW's own teardown leaves it be. */
#include "internal.h"

#include <stdlib.h>

#include "glfw_adopt_win32.h"

typedef struct AdoptedWindow
{
    struct AdoptedWindow*  next;
    _GLFWwindow*           window;
    GLFWbool               adopted;
    WNDPROC                savedWindowProc;
    /* What the adoption installed, so that only its own change is undone */
    WNDPROC                glfwWindowProc;
    /* The context's own teardown, which the host's release wraps */
    _GLFWdestroycontextfun destroyContext;
    /* The host's icons, put back if glfwSetWindowIcon replaced them */
    HICON                  savedBigIcon;
    HICON                  savedSmallIcon;
} AdoptedWindow;

static AdoptedWindow* adoptedWindows = NULL;

static AdoptedWindow* findAdopted(_GLFWwindow* window)
{
    AdoptedWindow* entry;
    for (entry = adoptedWindows;  entry;  entry = entry->next)
    {
        if (entry->window == window)
            return entry;
    }
    return NULL;
}

static HICON currentIcon(HWND handle, WPARAM which)
{
    /* The host may belong to a busy process; a missing icon is no reason to wait */
    DWORD_PTR icon = 0;
    if (!SendMessageTimeoutW(handle, WM_GETICON, which, 0,
                             SMTO_ABORTIFHUNG, 200, &icon))
        return NULL;
    return (HICON) icon;
}

/* Installed as the record's context teardown: tears the context down, then hands the
   window back to its owner */
static void releaseHost(_GLFWwindow* window)
{
    AdoptedWindow** link = &adoptedWindows;
    AdoptedWindow* entry;
    HWND handle = window->win32.handle;

    while (*link && (*link)->window != window)
        link = &(*link)->next;
    entry = *link;
    if (!entry)
        return;
    *link = entry->next;

    if (entry->destroyContext)
        entry->destroyContext(window);

    /* WGL took the DC with GetDC; a host class without CS_OWNDC needs it back */
    if (window->context.wgl.dc)
    {
        ReleaseDC(handle, window->context.wgl.dc);
        window->context.wgl.dc = NULL;
    }

    /* GLFW destroys the icons it made right after this; the host must not keep them */
    if (window->win32.bigIcon || window->win32.smallIcon)
    {
        SendMessageW(handle, WM_SETICON, ICON_BIG, (LPARAM) entry->savedBigIcon);
        SendMessageW(handle, WM_SETICON, ICON_SMALL, (LPARAM) entry->savedSmallIcon);
    }

    RemovePropW(handle, L"GLFW");
    if ((WNDPROC) GetWindowLongPtrW(handle, GWLP_WNDPROC) == entry->glfwWindowProc)
        SetWindowLongPtrW(handle, GWLP_WNDPROC, (LONG_PTR) entry->savedWindowProc);

    window->win32.handle = NULL;
    free(entry);
}

static GLFWbool createContext(_GLFWwindow* window,
                              const _GLFWctxconfig* ctxconfig,
                              const _GLFWfbconfig* fbconfig)
{
    if (ctxconfig->source == GLFW_NATIVE_CONTEXT_API)
    {
        if (!_glfwInitWGL())
            return GLFW_FALSE;
        if (!_glfwCreateContextWGL(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }
    else if (ctxconfig->source == GLFW_EGL_CONTEXT_API)
    {
        if (!_glfwInitEGL())
            return GLFW_FALSE;
        if (!_glfwCreateContextEGL(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }
    else if (ctxconfig->source == GLFW_OSMESA_CONTEXT_API)
    {
        if (!_glfwInitOSMesa())
            return GLFW_FALSE;
        if (!_glfwCreateContextOSMesa(window, ctxconfig, fbconfig))
            return GLFW_FALSE;
    }
    return GLFW_TRUE;
}

/* A context that was made (even halfway) has its teardown set now: wrap it */
static void wrapContextTeardown(_GLFWwindow* window, AdoptedWindow* entry)
{
    if (window->context.destroy != releaseHost)
    {
        entry->destroyContext = window->context.destroy;
        window->context.destroy = releaseHost;
    }
}

GLFWAPI GLFWwindow* glfwAdoptNativeWindow(uintptr_t handle, GLFWwindow* share)
{
    _GLFWfbconfig fbconfig;
    _GLFWctxconfig ctxconfig;
    _GLFWwndconfig wndconfig;
    _GLFWwindow* window;
    AdoptedWindow* entry;
    WNDCLASSEXW wc;
    HWND hwnd = (HWND) handle;
    LONG style, exStyle;

    _GLFW_REQUIRE_INIT_OR_RETURN(NULL);

    fbconfig  = _glfw.hints.framebuffer;
    ctxconfig = _glfw.hints.context;
    wndconfig = _glfw.hints.window;
    ctxconfig.share = (_GLFWwindow*) share;

    if (ctxconfig.share &&
        (ctxconfig.client == GLFW_NO_API ||
         ctxconfig.share->context.client == GLFW_NO_API))
    {
        _glfwInputError(GLFW_NO_WINDOW_CONTEXT, NULL);
        return NULL;
    }

    if (!_glfwIsValidContextConfig(&ctxconfig))
        return NULL;

    /* A handle that names no window would not always make WGL fail: GetDC(NULL) is the
       whole screen's DC */
    if (!IsWindow(hwnd))
    {
        _glfwInputError(GLFW_PLATFORM_ERROR,
                        "Win32: The window to adopt does not exist");
        return NULL;
    }

    /* GLFW's window procedure is static, but it is the procedure of GLFW's window class */
    ZeroMemory(&wc, sizeof(wc));
    wc.cbSize = sizeof(wc);
    if (!GetClassInfoExW(_glfw.win32.instance, _GLFW_WNDCLASSNAME, &wc))
    {
        _glfwInputErrorWin32(GLFW_PLATFORM_ERROR,
                             "Win32: Failed to find GLFW's window class");
        return NULL;
    }

    window = calloc(1, sizeof(_GLFWwindow));
    window->next = _glfw.windowListHead;
    _glfw.windowListHead = window;

    window->autoIconify = wndconfig.autoIconify;
    /* The context's framebuffer is made from this hint; buffer swaps follow it */
    window->doublebuffer = fbconfig.doublebuffer;
    window->cursorMode  = GLFW_CURSOR_NORMAL;

    window->minwidth    = GLFW_DONT_CARE;
    window->minheight   = GLFW_DONT_CARE;
    window->maxwidth    = GLFW_DONT_CARE;
    window->maxheight   = GLFW_DONT_CARE;
    window->numer       = GLFW_DONT_CARE;
    window->denom       = GLFW_DONT_CARE;

    entry = calloc(1, sizeof(AdoptedWindow));
    entry->window = window;
    entry->next = adoptedWindows;
    adoptedWindows = entry;
    /* Until a context exists, its teardown is the host's release alone */
    window->context.destroy = releaseHost;

    window->win32.handle = hwnd;
    SetPropW(hwnd, L"GLFW", window);
    entry->adopted = GLFW_TRUE;
    entry->savedBigIcon = currentIcon(hwnd, ICON_BIG);
    entry->savedSmallIcon = currentIcon(hwnd, ICON_SMALL);
    entry->savedWindowProc = (WNDPROC) GetWindowLongPtrW(hwnd, GWLP_WNDPROC);
    entry->glfwWindowProc = wc.lpfnWndProc;
    /* Fails for a window of another process; the context draws into it all the same */
    SetWindowLongPtrW(hwnd, GWLP_WNDPROC, (LONG_PTR) wc.lpfnWndProc);

    style = GetWindowLongW(hwnd, GWL_STYLE);
    exStyle = GetWindowLongW(hwnd, GWL_EXSTYLE);
    window->resizable = (style & WS_THICKFRAME) ? GLFW_TRUE : GLFW_FALSE;
    window->decorated = (style & (WS_BORDER | WS_THICKFRAME)) ? GLFW_TRUE : GLFW_FALSE;
    window->floating = (exStyle & WS_EX_TOPMOST) ? GLFW_TRUE : GLFW_FALSE;
    window->win32.maximized = IsZoomed(hwnd) ? GLFW_TRUE : GLFW_FALSE;
    window->win32.iconified = IsIconic(hwnd) ? GLFW_TRUE : GLFW_FALSE;
    /* The size GLFW compares each WM_SIZE with, so the first real change is reported */
    _glfwPlatformGetWindowSize(window, &window->win32.width, &window->win32.height);

    if (ctxconfig.client != GLFW_NO_API)
    {
        const GLFWbool created = createContext(window, &ctxconfig, &fbconfig);
        wrapContextTeardown(window, entry);
        if (!created || !_glfwRefreshContextAttribs(window, &ctxconfig))
        {
            glfwDestroyWindow((GLFWwindow*) window);
            return NULL;
        }
    }

    return (GLFWwindow*) window;
}

GLFWAPI int glfwGetAdoptedWindowWin32(GLFWwindow* handle, WNDPROC* savedWindowProc)
{
    AdoptedWindow* entry = findAdopted((_GLFWwindow*) handle);
    if (savedWindowProc)
        *savedWindowProc = entry ? entry->savedWindowProc : NULL;
    return entry ? entry->adopted : GLFW_FALSE;
}
