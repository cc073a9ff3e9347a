; The installer of CV Veyloom for 64-bit Windows, for the current user (the default, with no
; administrator rights) or for everyone who uses the computer. packaging/windows/build.sh makes
; it with DIST (the program's folder), RECORD_FILE (what it installs, as the uninstaller reads
; it), OUTFILE, and an include folder holding installer-defines.nsh, made by the build.
;
; Switches: /S silent; /CurrentUser or /AllUsers, the scope (without one: the scope of an
; installed copy, else the current user); /D=FOLDER, the folder of a first install. Exit codes
; beside NSIS's own (0 done, 1 cancelled, 2 stopped by an error):
!define EXIT_RUNNING 3
!define EXIT_NO_RIGHTS 4
; Between an installer and the copy of itself it starts with administrator rights only: that
; copy is done, and the program is to be started by the first, with the user's own rights.
!define EXIT_DONE_RUN 10

Unicode true
Target amd64-unicode
; Signing, when package.sh is given a key: NSIS's plug-ins from a folder of signed copies (a
; folder added after Target comes before NSIS's own), and commands run on the uninstaller as it
; is made, before the installer stores it (and writes it unchanged), and on the installer.
!ifdef PLUGINS
    !addplugindir /amd64-unicode "${PLUGINS}"
!endif
!ifdef FINALIZE_UNINSTALLER
    !uninstfinalize '"${FINALIZE_UNINSTALLER}" "%1"' = 0
!endif
!ifdef FINALIZE_INSTALLER
    !finalize '"${FINALIZE_INSTALLER}" "%1"' = 0
!endif
SetCompressor /SOLID lzma
SetCompressorDictSize 32
; No file times in the installer, so that one commit gives the same installer whenever it is
; built; installed files get the time of the install.
SetDateSave off
ManifestDPIAware true
; Rights are asked for only when the user chooses to install for everyone.
RequestExecutionLevel user

!include "FileFunc.nsh"
!include "TextFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "installer-defines.nsh"

!define PROGRAM "cv-veyloom.exe"
!define RECORD "uninstall.list"
!define UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${DISPLAY_NAME}"
!define SHORTCUT "$SMPROGRAMS\${DISPLAY_NAME}.lnk"

Name "${DISPLAY_NAME}"
OutFile "${OUTFILE}"
BrandingText "${DISPLAY_NAME} ${VERSION}"

VIProductVersion "${VERSION_FOUR}"
VIFileVersion "${VERSION_FOUR}"
VIAddVersionKey /LANG=1033 "ProductName" "${DISPLAY_NAME}"
VIAddVersionKey /LANG=1033 "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=1033 "FileDescription" "${DISPLAY_NAME} Setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "Copyright (C) ${PUBLISHER}"

Var Scope ; "user" or "all"
Var ScopeChosen ; 1 once a switch or the scope page has settled it
Var Elevated ; 1 in the copy an installer started with administrator rights
Var GivenFolder ; the folder given with /D=
Var InstalledFolder ; the folder of the copy installed for that scope, if any
Var ScopeUserButton
Var ScopeAllButton

; A signed installer holds its uninstaller whole: both have smaller icons of their own.
!ifdef FINALIZE_UNINSTALLER
    !define MUI_ICON "${SIGNED_ICON}"
    !define MUI_UNICON "${SIGNED_UNINSTALLER_ICON}"
!else
    !define MUI_ICON "${ICON}"
    !define MUI_UNICON "${ICON}"
!endif
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_PICTURE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "&Run ${DISPLAY_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram

Page custom ScopePage ScopePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE FolderPagePre
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; Functions both sides use: UN is empty for the installer's, "un." for the uninstaller's.
!macro SHARED_FUNCTIONS UN

; Returns when this process has administrator rights. Otherwise starts a copy of itself with
; them (Windows asks the user) and the same switches, waits for it and ends with its exit code;
; when the user refuses, it returns with the error flag set.
Function ${UN}RequireAdmin
    UserInfo::GetAccountType
    Pop $0
    ${If} $0 == "Admin"
        Return
    ${EndIf}
    ; NSIS takes the folder, which must come last, off the command line: it is given again.
    ${GetParameters} $1
!if "${UN}" == ""
    ${If} $GivenFolder != ""
        StrCpy $1 "$1 /D=$GivenFolder"
    ${EndIf}
!else
    StrCpy $1 "$1 _?=$INSTDIR"
!endif
    ; SHELLEXECUTEINFOW, packed by hand: SEE_MASK_NOCLOSEPROCESS, verb "runas", SW_SHOWNORMAL.
    System::Call '*(&l4, i 0x40, p $HWNDPARENT, w "runas", w "$EXEPATH", \
        w "/AllUsers /Elevated $1", p 0, i 1, i 0, p, p, p, p, i, i, p, p) p .r2'
    System::Call 'shell32::ShellExecuteExW(p r2) i .r3'
    ${If} $3 = 0
        System::Free $2
        SetErrors
        Return
    ${EndIf}
    System::Call '*$2(i, i, p, p, p, p, p, i, i, p, p, p, p, i, i, p, p .r4)'
    System::Free $2
    HideWindow
    System::Call 'kernel32::WaitForSingleObject(p r4, i -1)'
    System::Call 'kernel32::GetExitCodeProcess(p r4, *i .r5)'
    System::Call 'kernel32::CloseHandle(p r4)'
    ${If} $5 = ${EXIT_DONE_RUN}
        ReadRegStr $6 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        SetOutPath "$6"
        Exec '"$6\${PROGRAM}"'
        StrCpy $5 0
    ${EndIf}
    SetErrorLevel $5
    Quit
FunctionEnd

; Returns once no copy of the program runs from $INSTDIR. Windows lets no one write to a
; program's file while it runs. Asks the user to close it; ends the installer when the user
; cancels, or at once when silent.
Function ${UN}WaitUntilClosed
    ${Do}
        ${IfNot} ${FileExists} "$INSTDIR\${PROGRAM}"
            Return
        ${EndIf}
        ClearErrors
        FileOpen $0 "$INSTDIR\${PROGRAM}" a
        ${IfNot} ${Errors}
            FileClose $0
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${DISPLAY_NAME} is running from $INSTDIR.$\r$\n$\r$\nClose it, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel ${EXIT_RUNNING}
        Quit
        retry:
    ${Loop}
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
    SetRegView 64
    StrCpy $GivenFolder $INSTDIR
    ${GetParameters} $0
    ClearErrors
    ${GetOptions} $0 "/Elevated" $1
    ${IfNot} ${Errors}
        StrCpy $Elevated 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/CurrentUser" $1
    ${IfNot} ${Errors}
        StrCpy $Scope user
    ${EndIf}
    ClearErrors
    ${GetOptions} $0 "/AllUsers" $1
    ${IfNot} ${Errors}
        StrCpy $Scope all
    ${EndIf}
    ${If} $Scope != ""
        StrCpy $ScopeChosen 1
    ${Else}
        ; An installed copy's scope, so that an upgrade finds it.
        ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
        ReadRegStr $2 HKLM "${UNINSTALL_KEY}" "InstallLocation"
        StrCpy $Scope user
        ${If} $1 == ""
        ${AndIf} $2 != ""
            StrCpy $Scope all
        ${EndIf}
    ${EndIf}
    ${If} ${Silent}
        StrCpy $ScopeChosen 1
    ${EndIf}
    ${If} $ScopeChosen == 1
        Call UseScope
        ${If} ${Errors}
            SetErrorLevel ${EXIT_NO_RIGHTS}
            Quit
        ${EndIf}
    ${EndIf}
FunctionEnd

; Settles the folders, shortcut and entry of $Scope: the folder of the copy installed for it,
; else the one given with /D=, else the scope's own. Sets the error flag when rights for
; everyone were refused.
Function UseScope
    ClearErrors
    ${If} $Scope == all
        Call RequireAdmin
        ${If} ${Errors}
            Return
        ${EndIf}
        SetShellVarContext all
        StrCpy $1 "$PROGRAMFILES64\${DISPLAY_NAME}"
    ${Else}
        SetShellVarContext current
        StrCpy $1 "$LOCALAPPDATA\Programs\${DISPLAY_NAME}"
    ${EndIf}
    ReadRegStr $InstalledFolder SHCTX "${UNINSTALL_KEY}" "InstallLocation"
    ClearErrors
    ${If} $InstalledFolder != ""
        StrCpy $INSTDIR $InstalledFolder
    ${ElseIf} $GivenFolder != ""
        StrCpy $INSTDIR $GivenFolder
    ${Else}
        StrCpy $INSTDIR $1
    ${EndIf}
FunctionEnd

Function ScopePage
    ${If} $ScopeChosen == 1
        Abort
    ${EndIf}
    !insertmacro MUI_HEADER_TEXT "Choose Users" \
        "Choose whether to install ${DISPLAY_NAME} for you alone or for everyone."
    nsDialogs::Create 1018
    Pop $0
    ${NSD_CreateRadioButton} 0 0 100% 12u "Only for &me"
    Pop $ScopeUserButton
    ${NSD_CreateLabel} 12u 14u -12u 20u \
        "Needs no administrator rights. ${DISPLAY_NAME} goes into your own folders and your own Start menu."
    Pop $0
    ${NSD_CreateRadioButton} 0 44u 100% 12u "For &everyone who uses this computer"
    Pop $ScopeAllButton
    ${NSD_CreateLabel} 12u 58u -12u 20u \
        "Needs administrator rights. ${DISPLAY_NAME} goes into Program Files and every user's Start menu."
    Pop $0
    ${If} $Scope == all
        ${NSD_Check} $ScopeAllButton
        ${NSD_SetFocus} $ScopeAllButton
    ${Else}
        ${NSD_Check} $ScopeUserButton
        ${NSD_SetFocus} $ScopeUserButton
    ${EndIf}
    nsDialogs::Show
FunctionEnd

Function ScopePageLeave
    ${NSD_GetState} $ScopeAllButton $0
    StrCpy $Scope user
    ${If} $0 == ${BST_CHECKED}
        StrCpy $Scope all
    ${EndIf}
    Call UseScope
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONEXCLAMATION \
            "Installing for everyone needs administrator rights. Choose $\"Only for me$\" to install without them."
        Abort
    ${EndIf}
FunctionEnd

; An installed copy is upgraded where it is.
Function FolderPagePre
    ${If} $InstalledFolder != ""
        Abort
    ${EndIf}
FunctionEnd

Function RunProgram
    ${If} $Elevated == 1
        SetErrorLevel ${EXIT_DONE_RUN}
    ${Else}
        SetOutPath "$INSTDIR"
        Exec '"$INSTDIR\${PROGRAM}"'
    ${EndIf}
FunctionEnd

Section
    Call WaitUntilClosed
    ; The installed copy's own uninstaller, run in place, removes what that copy wrote: files
    ; this version no longer has go with it, and its shortcut and entry are written anew below.
    ${If} $InstalledFolder != ""
    ${AndIf} ${FileExists} "$INSTDIR\${UNINSTALLER}"
        ExecWait '"$INSTDIR\${UNINSTALLER}" /S _?=$INSTDIR'
        Delete "$INSTDIR\${UNINSTALLER}"
    ${EndIf}

    SetOutPath "$INSTDIR"
    File /r "${DIST}/*"
    File "/oname=${RECORD}" "${RECORD_FILE}"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}"

    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

; The uninstaller's scope is the one whose entry names its folder; it touches nothing of the
; other scope, and without an entry it removes only its folder's files.
Var UninstallScope

Function un.onInit
    SetRegView 64
    ReadRegStr $0 HKLM "${UNINSTALL_KEY}" "InstallLocation"
    ReadRegStr $1 HKCU "${UNINSTALL_KEY}" "InstallLocation"
    ${If} $0 == $INSTDIR
        StrCpy $UninstallScope all
        Call un.RequireAdmin
        ${If} ${Errors}
            SetErrorLevel ${EXIT_NO_RIGHTS}
            Quit
        ${EndIf}
        SetShellVarContext all
    ${ElseIf} $1 == $INSTDIR
        StrCpy $UninstallScope user
        SetShellVarContext current
    ${EndIf}
    Call un.WaitUntilClosed
FunctionEnd

Section "Uninstall"
    ; The record names each file, then each folder, inside ones first.
    ClearErrors
    FileOpen $0 "$INSTDIR\${RECORD}" r
    ${IfNot} ${Errors}
        ${Do}
            FileReadUTF16LE $0 $1
            ${If} ${Errors}
                ${ExitDo}
            ${EndIf}
            ${TrimNewLines} $1 $1
            StrCpy $2 $1 1 -1
            ${If} $2 == "\"
                StrCpy $1 $1 -1
                RMDir "$INSTDIR\$1"
            ${ElseIf} $1 != ""
                Delete "$INSTDIR\$1"
            ${EndIf}
        ${Loop}
        FileClose $0
    ${EndIf}
    Delete "$INSTDIR\${RECORD}"
    Delete "$INSTDIR\${UNINSTALLER}"
    RMDir "$INSTDIR"
    ${If} $UninstallScope != ""
        Delete "${SHORTCUT}"
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
    ${EndIf}
SectionEnd
