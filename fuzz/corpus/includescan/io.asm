	.model	large
	include	model.mac
	INCLUDE "dos.mac"
	include	macros.inc	; shared macros
	include "io.inc"
	include	broken.inc"
code	segment
	ret
code	ends
	end
