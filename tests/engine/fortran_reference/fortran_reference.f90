! Prints the reference table for the fixed-width output fields: every edit
! descriptor the engine writes, applied to a set of awkward values, exactly as
! the Fortran run-time library formats them.
!
! One case per line, fields separated by "|":
!   R|descriptor|bits of the real64 value (hex)|value in full|[field]
!   I|descriptor|integer value|[field]
!   A|descriptor|[text]|[field]
!   L|descriptor|T or F|[field]
! The brackets keep leading and trailing blanks visible.
program fortran_reference
  use, intrinsic :: ieee_arithmetic, only: ieee_value, ieee_quiet_nan, &
       ieee_positive_inf, ieee_negative_inf
  use, intrinsic :: iso_fortran_env, only: int64, real64
  implicit none

  character(len=8), parameter :: real_descs(*) = [character(len=8) :: &
       'F9.3', 'F10.2', 'F7.2', 'F6.2', 'F15.4', 'F13.3', 'F20.5', &
       'F4.0', 'F5.1', 'F4.3', &
       'E10.3', 'E12.3', 'E14.3', 'E15.4', 'E13.4', 'E9.3', 'E8.1', &
       '1PE9.3', '1PE10.3', '1PE12.4', &
       'D15.4', 'D13.4', 'D12.4', 'D10.3']
  ! A field wider than any number, for the full digits of the largest value.
  character(len=8), parameter :: wide_desc = 'F330.2'
  character(len=8), parameter :: int_descs(*) = [character(len=8) :: &
       'I1', 'I2', 'I3', 'I4', 'I5', 'I12', 'I20', &
       'I4.2', 'I3.3', 'I5.0', 'I6.4']
  character(len=8), parameter :: text_descs(*) = [character(len=8) :: &
       'A1', 'A3', 'A6', 'A10']
  character(len=8), parameter :: logical_descs(*) = [character(len=8) :: &
       'L1', 'L2', 'L3']
  character(len=12), parameter :: texts(*) = [character(len=12) :: &
       '', 'X', 'IN', 'LBS', ' LBS', 'END OF', 'HELLO WORLD']
  integer, parameter :: text_lengths(*) = [0, 1, 2, 3, 4, 6, 11]

  real(real64), allocatable :: reals(:)
  integer(int64), parameter :: ints(*) = [0_int64, 1_int64, -1_int64, 5_int64, &
       -5_int64, 9_int64, 10_int64, -10_int64, 99_int64, -99_int64, 100_int64, &
       999_int64, -999_int64, 1000_int64, 9999_int64, -9999_int64, 10000_int64, &
       99999_int64, 100000_int64, -12345_int64, 2147483647_int64, &
       -2147483647_int64 - 1_int64, huge(0_int64), -huge(0_int64) - 1_int64]
  integer :: i, j

  call build_reals(reals)
  do i = 1, size(real_descs)
    do j = 1, size(reals)
      call real_case(trim(real_descs(i)), reals(j))
    end do
  end do
  call real_case(trim(wide_desc), huge(1.0_real64))
  call real_case(trim(wide_desc), -huge(1.0_real64))
  call real_case(trim(wide_desc), 1.0e300_real64)
  call real_case(trim(wide_desc), 1.0_real64 / 3.0_real64)
  do i = 1, size(int_descs)
    do j = 1, size(ints)
      call int_case(trim(int_descs(i)), ints(j))
    end do
  end do
  do i = 1, size(text_descs)
    do j = 1, size(texts)
      call text_case(trim(text_descs(i)), texts(j)(1:text_lengths(j)))
    end do
  end do
  do i = 1, size(logical_descs)
    call logical_case(trim(logical_descs(i)), .true.)
    call logical_case(trim(logical_descs(i)), .false.)
  end do

contains

  subroutine build_reals(v)
    real(real64), allocatable, intent(out) :: v(:)
    real(real64) :: third
    third = 1.0_real64 / 3.0_real64
    v = [ &
         ! zero of both signs, units, halves
         0.0_real64, sign(0.0_real64, -1.0_real64), 1.0_real64, -1.0_real64, &
         0.5_real64, -0.5_real64, &
         ! rounding at the last printed digit, on both sides of the half
         0.0005_real64, -0.0005_real64, 0.00049999_real64, 0.0004999999_real64, &
         0.0015_real64, 0.005_real64, 0.015_real64, 0.045_real64, &
         9.9995_real64, -9.9995_real64, 9.9996_real64, 9.99949_real64, &
         0.9995e10_real64, 0.99949e10_real64, 0.99951e10_real64, &
         0.9995_real64, 0.99995_real64, 999.9995_real64, 99999.9995_real64, &
         ! ties that are exact in binary
         2.5_real64, 3.5_real64, -2.5_real64, 0.25_real64, 0.125_real64, &
         0.0625_real64, 1.125_real64, 1.0625_real64, 0.3125_real64, &
         ! ordinary values
         0.1_real64, 0.3_real64, third, 2.0_real64 * third, -2.0_real64 * third, &
         123.456_real64, -123.456_real64, 1234.5678_real64, -1234.5678_real64, &
         12345.678_real64, 32.174_real64, 0.001_real64, 1.0e-7_real64, &
         -31415.9265_real64, &
         ! around the field limits
         999.99_real64, 1000.0_real64, 9999.99_real64, -999.99_real64, &
         1.0e5_real64, 1.0e6_real64, -1.0e6_real64, 1.0e7_real64, 1.0e10_real64, &
         1.0e15_real64, 1.0e20_real64, &
         ! small values
         1.0e-5_real64, -1.0e-5_real64, 1.0e-10_real64, -1.0e-10_real64, &
         ! exponents near and beyond two and three digits
         1.0e99_real64, 9.9999e99_real64, 1.0e100_real64, -1.0e100_real64, &
         1.0e-99_real64, 1.0e-100_real64, 1.00001e-100_real64, 1.0e-101_real64, &
         1.0e200_real64, 1.0e300_real64, -1.0e300_real64, &
         huge(1.0_real64), -huge(1.0_real64), tiny(1.0_real64), &
         4.9406564584124654e-324_real64, &
         ! not numbers
         ieee_value(0.0_real64, ieee_quiet_nan), &
         ieee_value(0.0_real64, ieee_positive_inf), &
         ieee_value(0.0_real64, ieee_negative_inf)]
  end subroutine build_reals

  subroutine real_case(desc, x)
    character(len=*), intent(in) :: desc
    real(real64), intent(in) :: x
    character(len=400) :: field
    character(len=32) :: full
    write(field, '("[",' // desc // ',"]")') x
    write(full, '(ES25.17E3)') x
    write(*, '(A,A,A,Z16.16,A,A,A,A)') 'R|', desc, '|', transfer(x, 0_int64), &
         '|', trim(adjustl(full)), '|', trim(field)
  end subroutine real_case

  subroutine int_case(desc, n)
    character(len=*), intent(in) :: desc
    integer(int64), intent(in) :: n
    character(len=400) :: field
    character(len=32) :: value
    write(field, '("[",' // desc // ',"]")') n
    write(value, '(I0)') n
    write(*, '(A,A,A,A,A,A)') 'I|', desc, '|', trim(value), '|', trim(field)
  end subroutine int_case

  subroutine text_case(desc, s)
    character(len=*), intent(in) :: desc
    character(len=*), intent(in) :: s
    character(len=400) :: field
    write(field, '("[",' // desc // ',"]")') s
    write(*, '(A,A,A,A,A,A)') 'A|', desc, '|[', s, ']|', trim(field)
  end subroutine text_case

  subroutine logical_case(desc, b)
    character(len=*), intent(in) :: desc
    logical, intent(in) :: b
    character(len=400) :: field
    write(field, '("[",' // desc // ',"]")') b
    write(*, '(A,A,A,L1,A,A)') 'L|', desc, '|', b, '|', trim(field)
  end subroutine logical_case

end program fortran_reference
