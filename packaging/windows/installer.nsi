; The installer of CV Veyloom for 64-bit Windows, for the current user (the default, with no
; administrator rights) or for everyone who uses the computer. packaging/windows/build.sh makes
; it with DIST (the program's folder), RECORD_FILE (what it installs, as the uninstaller reads
; it), OUTFILE, and an include folder holding installer-defines.nsh, made by the build.
;
; Switches: /S silent; /CurrentUser or /AllUsers, the scope (without one: the scope of an
; installed copy, else the current user); /D=FOLDER, the folder, quoted or not. Exit codes
; beside NSIS's own (0 done, 1 cancelled):
!define EXIT_ERROR 2
!define EXIT_RUNNING 3
!define EXIT_NO_RIGHTS 4
; Between an installer and the copy of itself it starts with administrator rights only: that
; copy is done, and the program is to be started by the first, with the user's own rights.
!define EXIT_DONE_RUN 10

;
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
; A file that cannot be written stops the install (Retry / Cancel); it is never skipped.
AllowSkipFiles off

!include "FileFunc.nsh"
!include "TextFunc.nsh"
!include "LogicLib.nsh"
!include "MUI2.nsh"
!include "nsDialogs.nsh"
!include "installer-defines.nsh"

!define PROGRAM "cv-veyloom.exe"
; Names of their own, so that the installer never overwrites another program's uninstaller.
!define RECORD "cv-veyloom-uninstall.list"
!define UNINSTALLER "cv-veyloom-uninstall.exe"
; What copies installed by the first installer are uninstalled with, found only in the folder
; an entry names.
!define OLD_RECORD "uninstall.list"
!define OLD_UNINSTALLER "uninstall.exe"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\${DISPLAY_NAME}"
; The entry's value naming the folder a move leaves, until nothing of ours is left there.
!define LEFT_FOLDER "PreviousInstallLocation"
!define SHORTCUT "$SMPROGRAMS\${DISPLAY_NAME}.lnk"
; A file another program holds open (a virus scanner, a preview pane) is tried again for five
; seconds before the user is asked.
!define RETRIES 20
!define RETRY_PAUSE_MS 250
; Characters no plain path inside the folder has: a drive, another separator, wildcards (the
; last three are wildcards to Windows' own file search).
!define NOT_IN_PATHS ':/*?|<>"'
; CreateFileW's arguments and the error that a running program's file gives.
!define GENERIC_WRITE 0x40000000
!define FILE_SHARE_ALL 7
!define OPEN_EXISTING 3
!define ERROR_SHARING_VIOLATION 32
!define LOGPIXELSX 88
!define DPI_150_PERCENT 144

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
Var Switches ; the command line's switches but /D=
Var GivenFolder ; the folder given with /D=
Var InstalledFolder ; the folder of the copy installed for that scope, if it can be written
Var MovingFrom ; the folder a move leaves, which the entry names beside its own
Var ScopeUserButton
Var ScopeAllButton
; Going through a record: its file, the folder its lines are inside, the function run on each
; plain line with $Line (a folder's without its last "\") and $LineIsFolder, and the lines
; skipped so far.
Var RecordPath
Var RecordHandle
Var Base
Var LineAction
Var Line
Var LineIsFolder
Var BadLines
; A file or folder being removed, and how often it has been tried.
Var Target
Var Tries

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_WELCOMEFINISHPAGE_BITMAP "${WIZARD_PICTURE}"
!define MUI_ABORTWARNING
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "&Run ${DISPLAY_NAME}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunProgram

Page custom ScopePage ScopePageLeave
!define MUI_PAGE_CUSTOMFUNCTION_PRE FolderPagePre
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE FolderPageLeave
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_PAGE_CUSTOMFUNCTION_PRE FinishPagePre
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; STOP TEXT: shows the error (silently: nothing) and stops the install or uninstall with 2.
!macro STOP TEXT
    MessageBox MB_OK|MB_ICONSTOP "${TEXT}" /SD IDOK
    SetErrorLevel ${EXIT_ERROR}
    Abort "${TEXT}"
!macroend

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
!if "${UN}" == ""
    StrCpy $1 $Switches
    ${If} $GivenFolder != ""
        StrCpy $1 "$1 /D=$GivenFolder"
    ${EndIf}
!else
    ${GetParameters} $1
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

; Returns once no copy of the program runs from $Base. Windows lets no one write to a program's
; file while it runs, and says so with a sharing violation; a read-only file or one without
; rights to it says something else. Asks the user to close it; ends the run when the user
; cancels, or at once when silent. An empty $Base is no folder, and nothing runs from it.
Function ${UN}WaitUntilClosed
    ${If} $Base == ""
        Return
    ${EndIf}
    ${Do}
        System::Call 'kernel32::CreateFileW(w "$Base\${PROGRAM}", i ${GENERIC_WRITE}, \
            i ${FILE_SHARE_ALL}, p 0, i ${OPEN_EXISTING}, i 0, p 0) p .r0 ?e'
        Pop $1
        ${If} $0 != -1
            System::Call 'kernel32::CloseHandle(p r0)'
            Return
        ${EndIf}
        ${If} $1 != ${ERROR_SHARING_VIOLATION}
            Return
        ${EndIf}
        MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
            "${DISPLAY_NAME} is running from $Base.$\r$\n$\r$\nClose it, then choose Retry." \
            /SD IDCANCEL IDRETRY retry
        SetErrorLevel ${EXIT_RUNNING}
        Quit
        retry:
    ${Loop}
FunctionEnd

; Sets $0 to 1 when $Line is a plain relative path inside the folder: no drive, no root, no
; wildcard, and no empty, "." or ".." part (nor one that Windows would shorten to such, ending
; in a dot or a blank).
Function ${UN}IsPlainPath
    StrCpy $0 0
    StrCpy $1 0
    StrCpy $2 ""
    ${Do}
        StrCpy $3 $Line 1 $1
        ${If} $3 == "\"
        ${OrIf} $3 == ""
            StrCpy $4 $2 1 -1
            ${If} $2 == ""
            ${OrIf} $4 == "."
            ${OrIf} $4 == " "
                Return
            ${EndIf}
            ${If} $3 == ""
                StrCpy $0 1
                Return
            ${EndIf}
            StrCpy $2 ""
        ${Else}
            StrCpy $4 0
            ${Do}
                StrCpy $5 '${NOT_IN_PATHS}' 1 $4
                ${If} $5 == ""
                    ${ExitDo}
                ${ElseIf} $5 == $3
                    Return
                ${EndIf}
                IntOp $4 $4 + 1
            ${Loop}
            StrCpy $2 "$2$3"
        ${EndIf}
        IntOp $1 $1 + 1
    ${Loop}
FunctionEnd

; Calls $LineAction on each plain line of the record $RecordPath, files first, then folders,
; inside ones first. Any other line is skipped and counted in $BadLines; blank ones are not.
Function ${UN}ForEachLine
    ClearErrors
    FileOpen $RecordHandle "$RecordPath" r
    ${If} ${Errors}
        !insertmacro STOP "$RecordPath cannot be read."
    ${EndIf}
    ${Do}
        ClearErrors
        FileReadUTF16LE $RecordHandle $Line
        ${If} ${Errors}
            ${ExitDo}
        ${EndIf}
        ${TrimNewLines} $Line $Line
        ${If} $Line == ""
            ${Continue}
        ${EndIf}
        DetailPrint "$Line"
        StrCpy $LineIsFolder 0
        StrCpy $0 $Line 1 -1
        ${If} $0 == "\"
            StrCpy $LineIsFolder 1
            StrCpy $Line $Line -1
        ${EndIf}
        Call ${UN}IsPlainPath
        ${If} $0 == 1
            Call $LineAction
        ${Else}
            IntOp $BadLines $BadLines + 1
            DetailPrint "Skipped, not a file of its folder: $Line"
        ${EndIf}
    ${Loop}
    FileClose $RecordHandle
FunctionEnd

; Between two tries at $Target: a pause for the first few seconds, then the user chooses Retry
; or Cancel; silently, the run stops with 2.
Function ${UN}TryAgainOrStop
    ${If} $Tries < ${RETRIES}
        IntOp $Tries $Tries + 1
        Sleep ${RETRY_PAUSE_MS}
        Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONSTOP \
        "$Target cannot be removed: another program may be using it.$\r$\n$\r$\nClose it, then choose Retry." \
        /SD IDCANCEL IDRETRY retry
    SetErrorLevel ${EXIT_ERROR}
    Abort "$Target cannot be removed."
    retry:
    StrCpy $Tries 0
FunctionEnd

Function ${UN}RemoveFile
    StrCpy $Tries 0
    ${Do}
        ClearErrors
        Delete "$Target"
        ${IfNot} ${Errors}
            Return
        ${EndIf}
        Call ${UN}TryAgainOrStop
    ${Loop}
FunctionEnd

; A folder that still holds something (the user's own files) stays.
Function ${UN}RemoveFolder
    StrCpy $Tries 0
    ${Do}
        RMDir "$Target"
        ${IfNot} ${FileExists} "$Target\*.*"
            Return
        ${EndIf}
        FindFirst $0 $1 "$Target\*.*"
        ${Do}
            ${If} $1 != "."
            ${AndIf} $1 != ".."
                ${ExitDo}
            ${EndIf}
            FindNext $0 $1
        ${Loop}
        FindClose $0
        ${If} $1 != ""
            Return
        ${EndIf}
        Call ${UN}TryAgainOrStop
    ${Loop}
FunctionEnd

; Removes the line's file or folder inside $Base.
Function ${UN}RemoveLine
    StrCpy $Target "$Base\$Line"
    ${If} $LineIsFolder == 1
        Call ${UN}RemoveFolder
    ${Else}
        Call ${UN}RemoveFile
    ${EndIf}
FunctionEnd

; This version's record, as the build made it, at $PLUGINSDIR\own.list.
Function ${UN}UnpackOwnRecord
    InitPluginsDir
    File "/oname=$PLUGINSDIR\own.list" "${RECORD_FILE}"
FunctionEnd

; Removes what the record $RecordPath names inside $Base.
Function ${UN}RemoveRecorded
    GetFunctionAddress $LineAction ${UN}RemoveLine
    Call ${UN}ForEachLine
FunctionEnd

; Removes what is left of ours in $Base, a folder a move leaves (none when $Base is empty):
; what its own record names (the first installer's there, or without either this version's
; files), then its uninstaller, then the record, which names what is left until then, and the
; folder if that empties it. Only then does the entry stop naming it.
Function ${UN}RemoveLeftFolder
    ${If} $Base == ""
        Return
    ${EndIf}
    StrCpy $RecordPath "$Base\${RECORD}"
    StrCpy $R6 "$Base\${UNINSTALLER}"
    ${IfNot} ${FileExists} $RecordPath
    ${AndIf} ${FileExists} "$Base\${OLD_RECORD}"
        StrCpy $RecordPath "$Base\${OLD_RECORD}"
        StrCpy $R6 "$Base\${OLD_UNINSTALLER}"
    ${EndIf}
    ${IfNot} ${FileExists} $RecordPath
        Call ${UN}UnpackOwnRecord
        StrCpy $RecordPath "$PLUGINSDIR\own.list"
    ${EndIf}
    Call ${UN}RemoveRecorded
    StrCpy $Target $R6
    Call ${UN}RemoveFile
    StrCpy $Target $RecordPath
    ${If} $Target != "$PLUGINSDIR\own.list"
        Call ${UN}RemoveFile
    ${EndIf}
    StrCpy $Target $Base
    Call ${UN}RemoveFolder
    DeleteRegValue SHCTX "${UNINSTALL_KEY}" "${LEFT_FOLDER}"
FunctionEnd

; Tells about skipped lines of a record, which make the run end with 2.
Function ${UN}ReportBadLines
    ${If} $BadLines > 0
        MessageBox MB_OK|MB_ICONEXCLAMATION \
            "$BadLines lines of the record of installed files named no file of their folder, and were left alone." \
            /SD IDOK
        SetErrorLevel ${EXIT_ERROR}
    ${EndIf}
FunctionEnd

!macroend
!insertmacro SHARED_FUNCTIONS ""
!insertmacro SHARED_FUNCTIONS "un."

Function .onInit
    SetRegView 64
    Call ReadFolderSwitch
    ClearErrors
    ${GetOptions} $Switches "/Elevated" $1
    ${IfNot} ${Errors}
        StrCpy $Elevated 1
    ${EndIf}
    ClearErrors
    ${GetOptions} $Switches "/CurrentUser" $1
    ${IfNot} ${Errors}
        StrCpy $Scope user
    ${EndIf}
    ClearErrors
    ${GetOptions} $Switches "/AllUsers" $1
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

; Sets $Switches and $GivenFolder from the command line as Windows gives it. NSIS itself takes
; /D= only unquoted and with backslashes, and drops it unseen otherwise; here it may be quoted
; whole ("/D=C:\My Apps") or after "=", and have forward slashes. A folder that is not a full
; path ends the installer with 2.
Function ReadFolderSwitch
    ${GetParameters} $Switches
    System::Call 'kernel32::GetCommandLineW() w .r0'
    StrLen $1 $0
    ${Do}
        IntOp $1 $1 - 1
        ${If} $1 < 0
            Return
        ${EndIf}
        StrCpy $2 $0 3 $1
    ${LoopUntil} $2 == "/D="
    IntOp $2 $1 - 1
    StrCpy $3 $0 1 $2
    IntOp $1 $1 + 3
    StrCpy $GivenFolder $0 "" $1
    StrCpy $4 $GivenFolder 1
    ${If} $4 == '"'
        StrCpy $3 '"'
        StrCpy $GivenFolder $GivenFolder "" 1
    ${EndIf}
    ${If} $3 == '"'
        StrCpy $1 0
        ${Do}
            StrCpy $4 $GivenFolder 1 $1
            ${IfThen} $4 == '"' ${|} ${ExitDo} ${|}
            ${IfThen} $4 == "" ${|} ${ExitDo} ${|}
            IntOp $1 $1 + 1
        ${Loop}
        StrCpy $GivenFolder $GivenFolder $1
    ${EndIf}
    ; The switches before it, which an installer with administrator rights is given again.
    StrLen $1 $Switches
    ${Do}
        IntOp $1 $1 - 1
        ${IfThen} $1 < 0 ${|} ${ExitDo} ${|}
        StrCpy $2 $Switches 3 $1
        ${If} $2 == "/D="
            StrCpy $Switches $Switches $1
            ${ExitDo}
        ${EndIf}
    ${Loop}
    ${TrimNewLines} $Switches $Switches
    StrCpy $2 $Switches 1 -1
    ${If} $2 == '"'
        StrCpy $Switches $Switches -1
    ${EndIf}
    ; A full path: a drive and a root, or a network share.
    StrCpy $1 $GivenFolder 2 1
    StrCpy $2 $GivenFolder 2
    ${If} $1 == ":\"
    ${OrIf} $1 == ":/"
    ${OrIf} $2 == "\\"
    ${OrIf} $2 == "//"
        System::Call 'kernel32::GetFullPathNameW(w "$GivenFolder", i ${NSIS_MAX_STRLEN}, \
            w .r1, p 0) i .r2'
        ${If} $2 > 0
            StrCpy $GivenFolder $1
            StrCpy $2 $GivenFolder 1 -1
            StrLen $3 $GivenFolder
            ${If} $2 == "\"
            ${AndIf} $3 > 3
                StrCpy $GivenFolder $GivenFolder -1
            ${EndIf}
            Return
        ${EndIf}
    ${EndIf}
    MessageBox MB_OK|MB_ICONSTOP \
        "$\"$GivenFolder$\" is no full path of a folder. Give one such as C:\Apps\${DISPLAY_NAME}." \
        /SD IDOK
    SetErrorLevel ${EXIT_ERROR}
    Quit
FunctionEnd

; Settles the folders, shortcut and entry of $Scope: the one given with /D=, else the folder
; of the copy installed for it, else the scope's own. An entry whose folder cannot be written
; (a drive that is gone) counts as no installed copy, and is replaced. Sets the error flag when
; rights for everyone were refused.
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
    ${If} $InstalledFolder != ""
        ClearErrors
        FileOpen $2 "$InstalledFolder\cv-veyloom-probe.tmp" w
        ${If} ${Errors}
            StrCpy $InstalledFolder ""
        ${Else}
            FileClose $2
            Delete "$InstalledFolder\cv-veyloom-probe.tmp"
        ${EndIf}
    ${EndIf}
    ClearErrors
    ${If} $GivenFolder != ""
        StrCpy $INSTDIR $GivenFolder
    ${ElseIf} $InstalledFolder != ""
        StrCpy $INSTDIR $InstalledFolder
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
    ${AndIf} $INSTDIR == $InstalledFolder
        Abort
    ${EndIf}
FunctionEnd

Function FolderPageLeave
    Call FindForeignFile
    ${If} $Target != ""
        MessageBox MB_OK|MB_ICONEXCLAMATION "$Target belongs to another program. Choose another folder."
        Abort
    ${EndIf}
FunctionEnd

; Sets $Target to a file in $INSTDIR that this version would write and that no install of ours
; wrote, or to "". A folder holding our record, or the installed copy's, is ours.
Function FindForeignFile
    StrCpy $Target ""
    ${If} $INSTDIR == $InstalledFolder
    ${OrIf} ${FileExists} "$INSTDIR\${RECORD}"
        Return
    ${EndIf}
    Call UnpackOwnRecord
    StrCpy $RecordPath "$PLUGINSDIR\own.list"
    StrCpy $Base $INSTDIR
    GetFunctionAddress $LineAction FindForeignLine
    Call ForEachLine
FunctionEnd

Function FindForeignLine
    ${If} $LineIsFolder == 0
    ${AndIf} $Target == ""
    ${AndIf} ${FileExists} "$Base\$Line"
        StrCpy $Target "$Base\$Line"
    ${EndIf}
FunctionEnd

; At 150 % and more, the picture drawn for 150 %, where MUI loads it from.
Function FinishPagePre
    System::Call 'user32::GetDC(p 0) p .r0'
    System::Call 'gdi32::GetDeviceCaps(p r0, i ${LOGPIXELSX}) i .r1'
    System::Call 'user32::ReleaseDC(p 0, p r0)'
    ${If} $1 >= ${DPI_150_PERCENT}
        File "/oname=$PLUGINSDIR\modern-wizard.bmp" "${WIZARD_PICTURE_150}"
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

; The progress bar counts this section's own steps, so all but the files are in functions.
Section
    Call BeforeFiles
    SetOutPath "$INSTDIR"
    File /r "${DIST}/*"
    Call AfterFiles
SectionEnd

; Until this version's files are all in, the folder holds an uninstaller and a record naming
; both what was there and what comes, and the entry names them: an install that stops
; part-way leaves a copy that uninstalls whole. A move's entry names the folder it leaves as
; well, from before the first change until nothing of ours is left there.
Function BeforeFiles
    ; The folder a move leaves: the installed copy's, when this install goes elsewhere, else
    ; the one a move that stopped left, which this install then finishes leaving. A move that
    ; stopped, and that this one does not finish, is finished first ($R5): one folder at a time
    ; is left. A folder this install goes back into keeps what is left there, named by its
    ; record.
    ReadRegStr $R5 SHCTX "${UNINSTALL_KEY}" "${LEFT_FOLDER}"
    ${If} $R5 == $INSTDIR
        StrCpy $R5 ""
    ${EndIf}
    StrCpy $MovingFrom $R5
    ${If} $InstalledFolder != ""
    ${AndIf} $INSTDIR != $InstalledFolder
        StrCpy $MovingFrom $InstalledFolder
    ${Else}
        StrCpy $R5 ""
    ${EndIf}
    StrCpy $Base $R5
    Call WaitUntilClosed
    StrCpy $Base $MovingFrom
    Call WaitUntilClosed
    StrCpy $Base $INSTDIR
    Call WaitUntilClosed
    Call FindForeignFile
    ${If} $Target != ""
        !insertmacro STOP "$Target belongs to another program: ${DISPLAY_NAME} is not installed beside it."
    ${EndIf}
    StrCpy $Base $R5
    Call RemoveLeftFolder
    Call ReportBadLines
    Call UnpackOwnRecord

    ; What the folder holds of ours: the record of an earlier install, or the first
    ; installer's ($R7 1) in the folder an entry names.
    StrCpy $0 ""
    StrCpy $R7 0
    ${If} ${FileExists} "$INSTDIR\${RECORD}"
        StrCpy $0 "$INSTDIR\${RECORD}"
    ${ElseIf} $INSTDIR == $InstalledFolder
    ${AndIf} ${FileExists} "$INSTDIR\${OLD_RECORD}"
        StrCpy $0 "$INSTDIR\${OLD_RECORD}"
        StrCpy $R7 1
    ${EndIf}
    Delete "$PLUGINSDIR\earlier.list"
    ${If} $0 != ""
        ClearErrors
        CopyFiles /SILENT "$0" "$PLUGINSDIR\earlier.list"
        ${If} ${Errors}
            !insertmacro STOP "$0 cannot be read."
        ${EndIf}
    ${EndIf}

    ClearErrors
    CreateDirectory "$INSTDIR"
    FileOpen $R9 "$INSTDIR\${RECORD}" w
    ${If} ${Errors}
        !insertmacro STOP "$INSTDIR cannot be written."
    ${EndIf}
    GetFunctionAddress $LineAction WriteLine
    ${If} ${FileExists} "$PLUGINSDIR\earlier.list"
        StrCpy $RecordPath "$PLUGINSDIR\earlier.list"
        Call ForEachLine
    ${EndIf}
    ${If} $R7 == 1
        FileWriteUTF16LE $R9 "${OLD_UNINSTALLER}$\r$\n${OLD_RECORD}$\r$\n"
    ${EndIf}
    StrCpy $RecordPath "$PLUGINSDIR\own.list"
    Call ForEachLine
    FileClose $R9
    ClearErrors
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    ${If} ${Errors}
        !insertmacro STOP "$INSTDIR\${UNINSTALLER} cannot be written."
    ${EndIf}
    ClearErrors
    ${If} $MovingFrom != ""
        WriteRegStr SHCTX "${UNINSTALL_KEY}" "${LEFT_FOLDER}" "$MovingFrom"
    ${EndIf}
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${DISPLAY_NAME}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\${PROGRAM},0"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
    ${If} ${Errors}
        !insertmacro STOP "The entry in the installed programs cannot be written."
    ${EndIf}
    ${If} $MovingFrom == ""
        DeleteRegValue SHCTX "${UNINSTALL_KEY}" "${LEFT_FOLDER}"
    ${EndIf}

    ; The earlier install's files go, the first installer's uninstaller and record with them;
    ; the record keeps their names until this version's files are all in. So do files of this
    ; version's names, the folder being ours: a file held open is then tried again before the
    ; run stops, and File finds no file in its way.
    StrCpy $Base $INSTDIR
    StrCpy $BadLines 0
    ${If} ${FileExists} "$PLUGINSDIR\earlier.list"
        StrCpy $RecordPath "$PLUGINSDIR\earlier.list"
        Call RemoveRecorded
    ${EndIf}
    StrCpy $RecordPath "$PLUGINSDIR\own.list"
    Call RemoveRecorded
    ${If} $R7 == 1
        StrCpy $Target "$INSTDIR\${OLD_UNINSTALLER}"
        Call RemoveFile
        StrCpy $Target "$INSTDIR\${OLD_RECORD}"
        Call RemoveFile
    ${EndIf}
FunctionEnd

Function WriteLine
    ${If} $LineIsFolder == 1
        FileWriteUTF16LE $R9 "$Line\$\r$\n"
    ${Else}
        FileWriteUTF16LE $R9 "$Line$\r$\n"
    ${EndIf}
FunctionEnd

; This version's files are all in: the record names them alone, the entry names this version
; and the size of what it installed, and what is left of ours in the folder a move leaves goes.
Function AfterFiles
    ClearErrors
    File "/oname=$INSTDIR\${RECORD}" "${RECORD_FILE}"
    CreateShortcut "${SHORTCUT}" "$INSTDIR\${PROGRAM}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    ${If} ${Errors}
        !insertmacro STOP "The shortcut or the entry in the installed programs cannot be written."
    ${EndIf}
    StrCpy $R8 0
    StrCpy $Base $INSTDIR
    StrCpy $RecordPath "$PLUGINSDIR\own.list"
    GetFunctionAddress $LineAction AddSize
    Call ForEachLine
    StrCpy $LineIsFolder 0
    StrCpy $Line ${UNINSTALLER}
    Call AddSize
    StrCpy $Line ${RECORD}
    Call AddSize
    IntOp $R8 $R8 + 1023
    IntOp $R8 $R8 / 1024
    WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $R8

    StrCpy $Base $MovingFrom
    Call RemoveLeftFolder
    Call ReportBadLines
FunctionEnd

; Adds the size of the file $Line inside $Base to $R8, in bytes.
Function AddSize
    ${If} $LineIsFolder == 1
        Return
    ${EndIf}
    ClearErrors
    FileOpen $0 "$Base\$Line" r
    ${IfNot} ${Errors}
        FileSeek $0 0 END $1
        FileClose $0
        IntOp $R8 $R8 + $1
    ${EndIf}
FunctionEnd

; The uninstaller's scope is the one whose entry names its folder; it touches nothing of the
; other scope, and without an entry it removes only its folder's files. With one, it removes
; what is left of ours in the folder a move left, which the entry names beside.
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
    ${If} $UninstallScope != ""
        ReadRegStr $MovingFrom SHCTX "${UNINSTALL_KEY}" "${LEFT_FOLDER}"
    ${EndIf}
    StrCpy $Base $MovingFrom
    Call un.WaitUntilClosed
    StrCpy $Base $INSTDIR
    Call un.WaitUntilClosed
FunctionEnd

; What a move left elsewhere goes first, while this folder's uninstaller, which the entry
; names, is still there. Then each file of the record goes, then the record and the
; uninstaller; the shortcut and the entry go last, once all of them have. Without its record,
; it removes this version's files.
Section "Uninstall"
    StrCpy $Base $MovingFrom
    Call un.RemoveLeftFolder
    StrCpy $Base $INSTDIR
    StrCpy $RecordPath "$INSTDIR\${RECORD}"
    ${IfNot} ${FileExists} $RecordPath
        Call un.UnpackOwnRecord
        StrCpy $RecordPath "$PLUGINSDIR\own.list"
    ${EndIf}
    Call un.RemoveRecorded
    StrCpy $Target "$INSTDIR\${RECORD}"
    Call un.RemoveFile
    ; Run in place (_?=), it cannot remove itself, and leaves itself and its folder.
    ${If} $EXEPATH != "$INSTDIR\${UNINSTALLER}"
        StrCpy $Target "$INSTDIR\${UNINSTALLER}"
        Call un.RemoveFile
    ${EndIf}
    StrCpy $Target $INSTDIR
    Call un.RemoveFolder
    ${If} $UninstallScope != ""
        StrCpy $Target "${SHORTCUT}"
        Call un.RemoveFile
        ClearErrors
        DeleteRegKey SHCTX "${UNINSTALL_KEY}"
        ${If} ${Errors}
            !insertmacro STOP "The entry in the installed programs cannot be removed."
        ${EndIf}
    ${EndIf}
    Call un.ReportBadLines
SectionEnd
