; The kit's installer for one processor, made by the `packages` target of the win32 and win64
; builds (installer/CMakeLists.txt), which passes:
;   -DVERSION=1.0.0  -DARCH=win32|win64  -DDIST=<folder of the two programs>  -DOUTFILE=<setup.exe>
;
; Per user and without administrator rights: the two programs keep their reminder file beside
; themselves, so they go together into one folder that the user can write to. The uninstaller
; removes only the files it installed: the user's reminders stay where they are.
; Silent use: setup.exe /S [/D=<folder>]; desinstalar.exe /S [_?=<folder>]; both options come
; last and take the folder without quotes, spaces and all.

!pragma warning error all

!macro RequireDefine NAME
    !ifndef ${NAME}
        !error "makensis needs -D${NAME}=..."
    !endif
!macroend
!insertmacro RequireDefine VERSION
!insertmacro RequireDefine ARCH
!insertmacro RequireDefine DIST
!insertmacro RequireDefine OUTFILE

!if "${ARCH}" == "win64"
    Target amd64-unicode
!else if "${ARCH}" == "win32"
    Target x86-unicode
!else
    !error "ARCH must be win32 or win64"
!endif

!include MUI2.nsh
!include LogicLib.nsh
!include Sections.nsh
!include WinMessages.nsh
!include StrFunc.nsh
${UnStrLoc}

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Recordatorio"
!define UNINSTALLER "desinstalar.exe"
!define REMINDER_FILE "_Recordatorios_.log"
!define MENU_FOLDER "$SMPROGRAMS\Recordatorio"
!define EDITOR_LINK "${MENU_FOLDER}\Editor de recordatorios.lnk"
!define UNINSTALL_LINK "${MENU_FOLDER}\Desinstalar Recordatorio.lnk"
!define STARTUP_LINK "$SMSTARTUP\Recordatorio.lnk"
; The notifier's day watch: its switch, the one added when the installer starts it again in place
; of one it ended (notifier/day_watch_rules.h), and the class of its hidden window, whose title is
; the folder it runs from (notifier/day_watch.h).
!define DAY_WATCH_SWITCH "/diario"
!define RESTART_SWITCH "/reanudar"
!define DAY_WATCH_CLASS "Recordatorio.AvisoDiario"
; Where the watch keeps, per computer, what the user has seen of each folder's reminders: a value
; named as the folder (notifier/watch_memory.h).
!define WATCH_MEMORY_KEY "Software\Recordatorio\AvisoDiario"
; The access right to wait for a process to end.
!define SYNCHRONIZE 0x00100000

Name "Recordatorio"
OutFile "${OUTFILE}"
RequestExecutionLevel user
; A reinstall goes where the last one went, so it finds the user's reminders there.
InstallDir "$LOCALAPPDATA\Recordatorio"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "Recordatorio ${VERSION}"
ManifestDPIAware true

!define MUI_ICON "${__FILEDIR__}/../shared/icon/kit.ico"
!define MUI_UNICON "${__FILEDIR__}/../shared/icon/kit.ico"
!define MUI_ABORTWARNING

!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_COMPONENTS
!define MUI_DIRECTORYPAGE_TEXT_TOP "$(DirectoryText)"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\editor.exe"
!define MUI_FINISHPAGE_RUN_TEXT "$(RunEditor)"
!insertmacro MUI_PAGE_FINISH

!define MUI_UNCONFIRMPAGE_TEXT_TOP "$(UninstallKeepsReminders)"
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "Spanish"

LangString SectionPrograms ${LANG_SPANISH} "Recordatorio"
LangString SectionStartup ${LANG_SPANISH} "Aviso al iniciar sesión"
LangString DescriptionPrograms ${LANG_SPANISH} \
    "El editor de recordatorios y el aviso del día, juntos en una carpeta tuya en la que \
    también se guardan tus recordatorios. Con un acceso directo en el menú Inicio."
LangString DescriptionStartup ${LANG_SPANISH} \
    "Cada vez que inicies sesión en Windows, te saluda con la fecha y el santo del día y te \
    muestra los recordatorios de hoy; y lo vuelve a hacer al empezar cada nuevo día mientras \
    la sesión siga abierta."
LangString DirectoryText ${LANG_SPANISH} \
    "Recordatorio guarda tus recordatorios junto a sus programas: elige una carpeta en la que \
    puedas escribir (la que se propone es tuya). Pulsa Instalar para continuar."
LangString RunEditor ${LANG_SPANISH} "Abrir el editor de recordatorios"
LangString CloseEditor ${LANG_SPANISH} \
    "El editor de recordatorios de $INSTDIR está abierto.$\r$\n$\r$\nCiérralo y pulsa \
    Reintentar, o pulsa Cancelar para dejarlo todo como está."
LangString InstallFailed ${LANG_SPANISH} \
    "No se pudo instalar Recordatorio en $INSTDIR.$\r$\n$\r$\nComprueba que puedes escribir en \
    esa carpeta y que el editor de recordatorios y el aviso del día están cerrados."
LangString UninstallKeepsReminders ${LANG_SPANISH} \
    "Se quitarán los programas de Recordatorio y sus accesos directos. Tus recordatorios \
    (${REMINDER_FILE}) se quedan en su carpeta."
LangString UninstallFailed ${LANG_SPANISH} \
    "No se pudieron quitar los programas de $INSTDIR.$\r$\n$\r$\nCierra el editor de \
    recordatorios y el aviso del día y vuelve a intentarlo."
LangString RemindersKept ${LANG_SPANISH} \
    "Tus recordatorios se conservan en $INSTDIR\${REMINDER_FILE}.$\r$\n$\r$\nSi vuelves a \
    instalar Recordatorio en esa carpeta, los encontrarás allí."

; Like the programs' own version resources, the installer's names no copyright holder.
!pragma warning disable 9100 ; no "LegalCopyright" key
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductName" "Recordatorio"
VIAddVersionKey /LANG=${LANG_SPANISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SPANISH} "FileDescription" "Instalación de Recordatorio"

; Ends the run with an error box (in silent runs too: exit code 2) when a step before it failed.
!macro FailOnErrors MESSAGE
    ${If} ${Errors}
        MessageBox MB_OK|MB_ICONSTOP "${MESSAGE}" /SD IDOK
        SetErrorLevel 2
        Abort
    ${EndIf}
!macroend

; Whether this run ended a day watch of $INSTDIR (1 or empty), and the switch to start it again
; with: /reanudar after it ended one, so that the new watch goes on from where that one stopped.
Var WatchEnded
Var RestartSwitch

Function .onInit
    SetShellVarContext current
FunctionEnd

; Waits while the editor of $INSTDIR is open, asking the user to close it: its program file can be
; neither replaced nor removed, and the day watch is not to be ended for a run that cannot go on.
; Cancel ends the run (exit code 2; a silent run cancels at once). The editor's file is opened for
; writing: a running program's file refuses that as a sharing violation, on Windows and Wine alike.
; Any other failure (a read-only file, a scanner denying access) is no open editor: File and Delete
; clear a read-only attribute themselves, and report what they still cannot write.
!define ERROR_SHARING_VIOLATION 32
!macro DEFINE_WAIT_FOR_CLOSED_EDITOR PREFIX
    Function ${PREFIX}WaitForClosedEditor
        Push $0
        Push $1
        Push $2
        StrCpy $2 "$INSTDIR\editor.exe"
        ${Do}
            ; GENERIC_WRITE, sharing all, OPEN_EXISTING: a handle that shares the file is no editor.
            System::Call "kernel32::CreateFileW(w r2, i 0x40000000, i 7, p 0, i 3, i 0, p 0) p .r0 ?e"
            Pop $1
            ${If} $0 P<> -1
                System::Call "kernel32::CloseHandle(p r0)"
                ${Break}
            ${ElseIf} $1 <> ${ERROR_SHARING_VIOLATION}
                ${Break}
            ${EndIf}
            MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "$(CloseEditor)" /SD IDCANCEL IDRETRY +3
            SetErrorLevel 2
            Abort
        ${Loop}
        Pop $2
        Pop $1
        Pop $0
    FunctionEnd
!macroend
!insertmacro DEFINE_WAIT_FOR_CLOSED_EDITOR ""
!insertmacro DEFINE_WAIT_FOR_CLOSED_EDITOR "un."

; Ends the day watch that runs from $INSTDIR, if any, and waits until its process has ended, so
; that its program file can be replaced or removed: WM_CLOSE to its hidden window, found by class
; and folder. Watches of other folders go on; nothing is ever ended by its program's name. A
; watch that does not end within the waits is left: the file step after this reports it. Sets
; WatchEnded and RestartSwitch.
!macro DEFINE_END_DAY_WATCH PREFIX
    Function ${PREFIX}EndDayWatch
        Push $0
        Push $1
        Push $2
        Push $3
        StrCpy $3 0
        StrCpy $RestartSwitch ""
        ${Do}
            FindWindow $0 "${DAY_WATCH_CLASS}" "$INSTDIR"
            ${If} $0 == 0
            ${OrIf} $3 >= 3
                ${Break}
            ${EndIf}
            IntOp $3 $3 + 1
            StrCpy $WatchEnded 1
            StrCpy $RestartSwitch "${RESTART_SWITCH}"
            System::Call "user32::GetWindowThreadProcessId(p r0, *i .r1)"
            System::Call "kernel32::OpenProcess(i ${SYNCHRONIZE}, i 0, i r1) p .r2"
            SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=5000
            ${If} $2 P<> 0
                System::Call "kernel32::WaitForSingleObject(p r2, i 10000)"
                System::Call "kernel32::CloseHandle(p r2)"
            ${EndIf}
        ${Loop}
        Pop $3
        Pop $2
        Pop $1
        Pop $0
    FunctionEnd
!macroend
!insertmacro DEFINE_END_DAY_WATCH ""
!insertmacro DEFINE_END_DAY_WATCH "un."

; A run that stops after it ended the day watch starts it again, from whichever programs the
; folder then holds.
!macro DEFINE_RESTART_DAY_WATCH PREFIX
    Function ${PREFIX}RestartDayWatch
        ${If} $WatchEnded == 1
            Exec '"$INSTDIR\notifier.exe" ${DAY_WATCH_SWITCH} $RestartSwitch'
        ${EndIf}
    FunctionEnd
!macroend
!insertmacro DEFINE_RESTART_DAY_WATCH ""
!insertmacro DEFINE_RESTART_DAY_WATCH "un."

Function .onInstFailed
    Call RestartDayWatch
FunctionEnd

Section "$(SectionPrograms)" SectionPrograms
    SectionIn RO
    Call WaitForClosedEditor
    Call EndDayWatch
    ClearErrors
    SetOutPath "$INSTDIR"
    ; A file that cannot be written is asked about (Abort, Retry, Ignore); a silent run goes on
    ; as after Ignore, so the error flag is what stops it from reporting success.
    File "${DIST}/notifier.exe"
    File "${DIST}/editor.exe"
    WriteUninstaller "$INSTDIR\${UNINSTALLER}"
    !insertmacro FailOnErrors "$(InstallFailed)"
    CreateDirectory "${MENU_FOLDER}"
    CreateShortcut "${EDITOR_LINK}" "$INSTDIR\editor.exe"
    CreateShortcut "${UNINSTALL_LINK}" "$INSTDIR\${UNINSTALLER}"
    !insertmacro FailOnErrors "$(InstallFailed)"

    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Recordatorio"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\editor.exe"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
    WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
    WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
    WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section "$(SectionStartup)" SectionStartup
    ClearErrors
    CreateShortcut "${STARTUP_LINK}" "$INSTDIR\notifier.exe" "${DAY_WATCH_SWITCH}"
    !insertmacro FailOnErrors "$(InstallFailed)"
    ; The day watch runs from now on, not from the next logon. The one that this install ended to
    ; replace the programs goes on from where it stopped: what fell due meanwhile comes, and a day
    ; that began meanwhile, or whose boxes the user had not all closed, is greeted. After a first
    ; install it greets today. A watch that cannot start leaves the install as good as it was:
    ; the next logon starts one.
    Exec '"$INSTDIR\notifier.exe" ${DAY_WATCH_SWITCH} $RestartSwitch'
    ClearErrors
SectionEnd

; A reinstall without the startup shortcut takes away the one an earlier install made.
Section "-StartupUnticked"
    ${IfNot} ${SectionIsSelected} ${SectionStartup}
        Delete "${STARTUP_LINK}"
    ${EndIf}
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionPrograms} "$(DescriptionPrograms)"
    !insertmacro MUI_DESCRIPTION_TEXT ${SectionStartup} "$(DescriptionStartup)"
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Function un.onInit
    SetShellVarContext current
FunctionEnd

Function un.onUninstFailed
    Call un.RestartDayWatch
FunctionEnd

; Whether a file name (on the stack) is one that the programs' rewrites of the reminder file
; make: _Recordatorios_.<digits>-<digits>.new, or older versions' _Recordatorios_.new, compared
; with case. Leaves 1 or 0 on the stack. A user's "_Recordatorios_ copia.new" is not one.
Function un.IsLeftoverNewFile
    Exch $0
    Push $1
    Push $2
    Push $3
    Push $4
    Push $5
    StrCpy $1 $0 16
    StrCpy $2 $0 "" -4
    ${If} $0 S== "_Recordatorios_.new"
        StrCpy $0 1
    ${ElseIf} $1 S!= "_Recordatorios_."
    ${OrIf} $2 S!= ".new"
        StrCpy $0 0
    ${Else}
        ; Between the two: digits, one dash, digits. $3 counts the digits since the start or the
        ; dash, $4 the dashes.
        StrLen $1 $0
        IntOp $1 $1 - 4
        StrCpy $2 16
        StrCpy $3 0
        StrCpy $4 0
        ${DoWhile} $2 < $1
            StrCpy $5 $0 1 $2
            ${If} $5 == "-"
            ${AndIf} $3 > 0
            ${AndIf} $4 == 0
                StrCpy $4 1
                StrCpy $3 0
            ${Else}
                ${UnStrLoc} $5 "0123456789" $5 ">"
                ${If} $5 == ""
                    StrCpy $3 0
                    StrCpy $4 2
                    ${Break}
                ${EndIf}
                IntOp $3 $3 + 1
            ${EndIf}
            IntOp $2 $2 + 1
        ${Loop}
        ${If} $3 > 0
        ${AndIf} $4 == 1
            StrCpy $0 1
        ${Else}
            StrCpy $0 0
        ${EndIf}
    ${EndIf}
    Pop $5
    Pop $4
    Pop $3
    Pop $2
    Pop $1
    Exch $0
FunctionEnd

Section "Uninstall"
    ; The programs first: while one of them still runs, nothing else is touched.
    Call un.WaitForClosedEditor
    Call un.EndDayWatch
    ClearErrors
    Delete "$INSTDIR\notifier.exe"
    Delete "$INSTDIR\editor.exe"
    !insertmacro FailOnErrors "$(UninstallFailed)"

    ; Run in place (_?=) the uninstaller cannot delete itself, and the folder stays with it.
    Delete "$INSTDIR\${UNINSTALLER}"
    ; What interrupted rewrites of the reminder file may have left beside it; a user's file of a
    ; like name stays.
    FindFirst $0 $1 "$INSTDIR\_Recordatorios_*.new"
    ${DoWhile} $1 != ""
        Push $1
        Call un.IsLeftoverNewFile
        Pop $2
        ${If} $2 == 1
            Delete "$INSTDIR\$1"
        ${EndIf}
        FindNext $0 $1
    ${Loop}
    FindClose $0
    ; The editors' write lock: an empty file that only the programs use.
    Delete "$INSTDIR\_Recordatorios_.lock"
    ; Never /r: the folder holds the user's reminder file, and whatever else the user put there.
    ; It goes only when nothing is left in it.
    RMDir "$INSTDIR"

    Delete "${EDITOR_LINK}"
    Delete "${UNINSTALL_LINK}"
    RMDir "${MENU_FOLDER}"
    Delete "${STARTUP_LINK}"
    DeleteRegKey HKCU "${UNINSTALL_KEY}"
    ; What the watch kept of this folder on this computer; the keys go once they are empty.
    System::Call "kernel32::GetComputerNameW(w .r0, *i ${NSIS_MAX_STRLEN}) i"
    DeleteRegValue HKCU "${WATCH_MEMORY_KEY}\$0" "$INSTDIR"
    DeleteRegKey /ifempty HKCU "${WATCH_MEMORY_KEY}\$0"
    DeleteRegKey /ifempty HKCU "${WATCH_MEMORY_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Recordatorio"
SectionEnd

; Tells where the reminders stayed, so that nobody takes them for lost.
Function un.onUninstSuccess
    ${If} ${FileExists} "$INSTDIR\${REMINDER_FILE}"
        MessageBox MB_OK|MB_ICONINFORMATION "$(RemindersKept)" /SD IDOK
    ${EndIf}
FunctionEnd
