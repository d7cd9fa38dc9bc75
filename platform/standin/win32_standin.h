// Host stand-in for the part of the Win32 API that Qodex calls: the types,
// constants and functions the program uses, with the same names and the
// meaning the program relies on. The behaviour lives in the .cpp files
// beside this header and is scripted by tests through standin.h.
#pragma once

#include <stdarg.h>
#include <stddef.h>
#include <stdint.h>

#define WINAPI
#define CALLBACK

typedef int BOOL;
typedef unsigned char BYTE;
typedef unsigned short WORD;
typedef uint32_t DWORD;
typedef unsigned int UINT;
typedef int INT;
typedef int32_t LONG;
typedef intptr_t INT_PTR;
typedef uintptr_t UINT_PTR;
typedef intptr_t LONG_PTR;
typedef uintptr_t WPARAM;
typedef intptr_t LPARAM;
typedef intptr_t LRESULT;
typedef int32_t HRESULT;
typedef size_t SIZE_T;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;

typedef struct HWND__* HWND;
typedef struct HINSTANCE__* HINSTANCE;
typedef HINSTANCE HMODULE;
typedef void* HGLOBAL;

typedef INT_PTR(CALLBACK* DLGPROC)(HWND, UINT, WPARAM, LPARAM);

#define TRUE 1
#define FALSE 0

#define LOWORD(l) ((WORD)(((uintptr_t)(l)) & 0xFFFF))
#define HIWORD(l) ((WORD)((((uintptr_t)(l)) >> 16) & 0xFFFF))
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)(((DWORD)(WORD)(l)) | (((DWORD)(WORD)(h)) << 16)))

#define S_OK ((HRESULT)0)
#define S_FALSE ((HRESULT)1)
#define E_OUTOFMEMORY ((HRESULT)0x8007000E)
#define RPC_E_CHANGED_MODE ((HRESULT)0x80010106)

#define TLS_OUT_OF_INDEXES ((DWORD)0xFFFFFFFF)

#define GMEM_FIXED 0x0000
#define GMEM_ZEROINIT 0x0040
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define FORMAT_MESSAGE_ALLOCATE_BUFFER 0x00000100
#define FORMAT_MESSAGE_IGNORE_INSERTS 0x00000200
#define FORMAT_MESSAGE_FROM_STRING 0x00000400
#define FORMAT_MESSAGE_FROM_HMODULE 0x00000800
#define FORMAT_MESSAGE_FROM_SYSTEM 0x00001000
#define FORMAT_MESSAGE_ARGUMENT_ARRAY 0x00002000
#define FORMAT_MESSAGE_MAX_WIDTH_MASK 0x000000FF

#define WM_NULL 0x0000
#define WM_CLOSE 0x0010
#define WM_INITDIALOG 0x0110
#define WM_COMMAND 0x0111

#define IDOK 1
#define IDCANCEL 2

#define BN_CLICKED 0
#define EN_SETFOCUS 0x0100
#define EN_KILLFOCUS 0x0200
#define EN_CHANGE 0x0300
#define EN_UPDATE 0x0400
#define EN_MAXTEXT 0x0501

#define MB_OK 0x00000000
#define MB_ICONINFORMATION 0x00000040

#define ICC_LISTVIEW_CLASSES 0x00000001
#define ICC_TREEVIEW_CLASSES 0x00000002
#define ICC_BAR_CLASSES 0x00000004
#define ICC_TAB_CLASSES 0x00000008
#define ICC_UPDOWN_CLASS 0x00000010
#define ICC_PROGRESS_CLASS 0x00000020
#define ICC_HOTKEY_CLASS 0x00000040
#define ICC_ANIMATE_CLASS 0x00000080
#define ICC_DATE_CLASSES 0x00000100
#define ICC_USEREX_CLASSES 0x00000200
#define ICC_COOL_CLASSES 0x00000400
#define ICC_INTERNET_CLASSES 0x00000800
#define ICC_PAGESCROLLER_CLASS 0x00001000
#define ICC_NATIVEFNTCTL_CLASS 0x00002000
#define ICC_STANDARD_CLASSES 0x00004000
#define ICC_LINK_CLASS 0x00008000

typedef struct tagINITCOMMONCONTROLSEX {
    DWORD dwSize;
    DWORD dwICC;
} INITCOMMONCONTROLSEX, *LPINITCOMMONCONTROLSEX;

// kernel32
LPSTR WINAPI GetCommandLineA(void);
DWORD WINAPI FormatMessageA(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId, LPSTR lpBuffer,
                            DWORD nSize, va_list* Arguments);
HMODULE WINAPI GetModuleHandleA(LPCSTR lpModuleName);
void WINAPI Sleep(DWORD dwMilliseconds);
DWORD WINAPI TlsAlloc(void);
BOOL WINAPI TlsSetValue(DWORD dwTlsIndex, LPVOID lpTlsValue);
LPVOID WINAPI TlsGetValue(DWORD dwTlsIndex);
BOOL WINAPI TlsFree(DWORD dwTlsIndex);
HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
[[noreturn]] void WINAPI ExitProcess(UINT uExitCode);

// user32
DWORD WINAPI CharUpperBuffA(LPSTR lpsz, DWORD cchLength);
HWND WINAPI GetDesktopWindow(void);
int WINAPI MessageBoxA(HWND hWnd, LPCSTR lpText, LPCSTR lpCaption, UINT uType);
INT_PTR WINAPI DialogBoxParamA(HINSTANCE hInstance, LPCSTR lpTemplateName, HWND hWndParent, DLGPROC lpDialogFunc,
                               LPARAM dwInitParam);
HWND WINAPI GetDlgItem(HWND hDlg, int nIDDlgItem);
HWND WINAPI SetFocus(HWND hWnd);
BOOL WINAPI EndDialog(HWND hDlg, INT_PTR nResult);
int WINAPI GetWindowTextLengthA(HWND hWnd);
int WINAPI GetWindowTextA(HWND hWnd, LPSTR lpString, int nMaxCount);
BOOL WINAPI SetWindowTextA(HWND hWnd, LPCSTR lpString);

// comctl32
BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* picce);

// ole32
HRESULT WINAPI CoInitialize(LPVOID pvReserved);
void WINAPI CoUninitialize(void);
