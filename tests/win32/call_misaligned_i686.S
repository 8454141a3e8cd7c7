# uint32_t CallMisaligned(void* function, int32_t argumentCount, const uint32_t* arguments,
#                         int32_t misalignment)   (cdecl)
#
# Calls a stdcall function the way a careless 32-bit host may: with the stack pointer at the
# call only 4-byte aligned (ESP mod 16 == misalignment just before the call instruction).

        .text
        .globl  _CallMisaligned
_CallMisaligned:
        pushl   %ebp
        movl    %esp, %ebp
        pushl   %esi
        pushl   %edi
        movl    8(%ebp), %eax           # function
        movl    12(%ebp), %ecx          # argument count
        movl    16(%ebp), %esi          # arguments
        movl    20(%ebp), %edx          # misalignment
        andl    $-16, %esp
        leal    (%edx,%ecx,4), %edi     # after the pushes ESP mod 16 must be the misalignment
        andl    $15, %edi
        subl    %edi, %esp
1:      testl   %ecx, %ecx
        jz      2f
        decl    %ecx
        pushl   (%esi,%ecx,4)
        jmp     1b
2:      call    *%eax                   # stdcall: the callee removes its arguments
        leal    -8(%ebp), %esp
        popl    %edi
        popl    %esi
        popl    %ebp
        ret
