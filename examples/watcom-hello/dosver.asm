; DOS's version through INT 21h, function 30h: AL the major number, AH the
; minor one, returned in AX as the C side's unsigned. The memory model comes
; from wasm's -m option, so one source serves every model.
        .code
        public  _dos_version
_dos_version proc
        mov     ah, 30h
        int     21h
        ret
_dos_version endp
        end
