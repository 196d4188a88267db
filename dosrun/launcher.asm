; LAUNCH.COM, dosrun's own DOS program: it starts the program of a run the
; way a command interpreter would, but with the standard handles dosrun
; reads: input from a file, output on COM1, errors on COM2. DOSBox's own
; second shell is left out for a program file: a DOS-extended make run as
; its child brings DOSBox down.
;
; Its command tail names the job file, four lines ending in CR LF:
;   the program's DOS path          D:\BINW\WMAKE.EXE
;   the program's command tail      " -h -f makefile.wat" (at most 126 bytes)
;   the file of its standard input  Y:\INPUT.DAT
;   the record file                 Y:\RESULT.TXT
; and it writes one line to the record file:
;   "X <code>"   the program ended with that exit code
;   "E <error>"  DOS could not start it (the DOS error code of EXEC)
;   "F <error>"  a handle could not be set (the DOS error code)
; Nothing is recorded when the job cannot be read.
;
; Built with: nasm -f bin -o LAUNCH.COM launcher.asm

        cpu     8086
        org     0x100

JOB_SIZE        equ 600         ; four lines: 3 paths of at most 128, a tail
STACK_SIZE      equ 256

start:
        mov     sp, stack_top
        ; Keep only this program's memory, so the program gets the rest.
        mov     bx, (image_end - $$ + 0x100 + 15) / 16     ; paragraphs from the PSP on
        mov     ah, 0x4a
        int     0x21

        ; Both ports at 115200 baud, 8 data bits, no parity, one stop bit:
        ; DOSBox sends at the speed a port is set to.
        mov     dx, 0x3f8
        call    set_port_speed
        mov     dx, 0x2f8
        call    set_port_speed

        call    read_job
        jc      quit

        ; Standard input, output and error.
        mov     dx, [input_name]
        mov     ax, 0x3d00
        xor     cx, cx
        call    open_as_handle
        jc      handle_failed
        mov     dx, com1_name
        mov     ax, 0x3d01
        mov     cx, 1
        call    open_as_handle
        jc      handle_failed
        mov     dx, com2_name
        mov     ax, 0x3d01
        mov     cx, 2
        call    open_as_handle
        jc      handle_failed

        ; The two file control blocks DOS fills from the first two words.
        mov     si, tail + 1
        mov     di, fcb1
        mov     ax, 0x2901
        int     0x21
        mov     di, fcb2
        mov     ax, 0x2901
        int     0x21

        mov     [block_tail + 2], cs
        mov     [block_fcb1 + 2], cs
        mov     [block_fcb2 + 2], cs
        mov     dx, [program_name]
        mov     bx, exec_block
        mov     [saved_sp], sp
        mov     ax, 0x4b00
        int     0x21
        ; Some DOS versions return with every register but CS:IP changed.
        cli
        mov     bx, cs
        mov     ss, bx
        mov     sp, [cs:saved_sp]
        sti
        mov     ds, bx
        mov     es, bx
        cld
        jc      exec_failed
        mov     ah, 0x4d
        int     0x21
        xor     ah, ah
        mov     word [record], 'X '
        jmp     write_record
exec_failed:
        mov     word [record], 'E '
        jmp     write_record
handle_failed:
        mov     word [record], 'F '

; AX: the number after the record's letter.
write_record:
        mov     di, record + 2
        call    write_decimal
        mov     word [di], 0x0a0d
        add     di, 2
        mov     [record_end], di
        mov     dx, [record_name]
        mov     ah, 0x3c
        xor     cx, cx
        int     0x21
        jc      quit
        mov     bx, ax
        mov     dx, record
        mov     cx, [record_end]
        sub     cx, dx
        mov     ah, 0x40
        int     0x21
        mov     ah, 0x3e
        int     0x21
quit:
        mov     ax, 0x4c00
        int     0x21

; DX: the port's base address.
set_port_speed:
        add     dx, 3
        mov     al, 0x83        ; line control: divisor latch, 8N1
        out     dx, al
        sub     dx, 3
        mov     al, 1           ; divisor 1: 115200 baud
        out     dx, al
        inc     dx
        xor     al, al
        out     dx, al
        add     dx, 2
        mov     al, 0x03        ; latch off, 8N1
        out     dx, al
        ret

; AX: the open function (0x3d00 read, 0x3d01 write), DX: the name, CX:
; the handle it becomes. Carry and AX the DOS error when it fails.
open_as_handle:
        int     0x21
        jc      .done
        mov     bx, ax
        mov     ah, 0x46        ; force CX to be a duplicate of BX
        int     0x21
        jc      .done
        mov     ah, 0x3e
        int     0x21
        clc
.done:
        ret

; The job file named by the command tail into its four lines; carry when
; it cannot be read or has fewer lines.
read_job:
        ; The tail at 0x80: its length, then the text.
        mov     si, 0x81
        mov     cl, [0x80]
        xor     ch, ch
.skip_blanks:
        jcxz    .fail
        cmp     byte [si], ' '
        jne     .name
        inc     si
        dec     cx
        jmp     .skip_blanks
.name:
        mov     dx, si
.scan_name:
        jcxz    .end_name
        cmp     byte [si], ' '
        je      .end_name
        cmp     byte [si], 0x0d
        je      .end_name
        inc     si
        dec     cx
        jmp     .scan_name
.end_name:
        mov     byte [si], 0
        mov     ax, 0x3d00
        int     0x21
        jc      .fail
        mov     bx, ax
        mov     dx, job
        mov     cx, JOB_SIZE
        mov     ah, 0x3f
        int     0x21
        pushf
        push    ax
        mov     ah, 0x3e
        int     0x21
        pop     cx
        popf
        jc      .fail
        ; Each line ends in CR LF; the CR becomes the end of its text.
        mov     si, job
        mov     di, program_name
        mov     bx, 4
.next_line:
        mov     [di], si
        add     di, 2
.scan_line:
        jcxz    .fail
        dec     cx
        lodsb
        cmp     al, 0x0d
        jne     .scan_line
        mov     byte [si - 1], 0
        jcxz    .fail
        dec     cx
        inc     si              ; the LF
        dec     bx
        jnz     .next_line
        ; The command tail as DOS keeps it: length, text, CR.
        mov     si, [tail_text]
        mov     di, tail + 1
        xor     cx, cx
.copy_tail:
        lodsb
        or      al, al
        jz      .tail_done
        cmp     cx, 126
        je      .fail
        stosb
        inc     cx
        jmp     .copy_tail
.tail_done:
        mov     byte [di], 0x0d
        mov     [tail], cl
        clc
        ret
.fail:
        stc
        ret

; AX in decimal at DI; DI after the digits.
write_decimal:
        mov     bx, 10
        xor     cx, cx
.divide:
        xor     dx, dx
        div     bx
        push    dx
        inc     cx
        or      ax, ax
        jnz     .divide
.digits:
        pop     ax
        add     al, '0'
        stosb
        loop    .digits
        ret

com1_name       db 'COM1', 0
com2_name       db 'COM2', 0

exec_block:
block_environment dw 0          ; a copy of this program's environment
block_tail      dw tail, 0
block_fcb1      dw fcb1, 0
block_fcb2      dw fcb2, 0

        align   2
image_data_end:

        absolute image_data_end
; The job's four lines, in the order of the file.
program_name    resw 1
tail_text       resw 1
input_name      resw 1
record_name     resw 1
saved_sp        resw 1
record_end      resw 1
record          resb 12         ; "X 255" CR LF, "E 65535" CR LF
tail            resb 128
fcb1            resb 37
fcb2            resb 37
job             resb JOB_SIZE
                resb STACK_SIZE
stack_top:
image_end:
